#pragma once

#include "app/RecentProjects.h"
#include "app/WindowPlacement.h"
#include "calc/FiberglassChoices.h"
#include "model/Result.h"

#include <QSize>
#include <QString>

#include <functional>
#include <optional>

class IniFile;

// The program's settings file, and the one place that reads and writes it.
// Its sections and keys:
//   [Settings]        TabIndex: the calculation tab, 0 or 1;
//   [View]            the main window's placement (WindowPlacement),
//                     PanelMainTop_Height (the upper half), ComboBox1_ItemIndex
//                     and ComboBox2_ItemIndex (the laying and wall choices);
//   [Editor]          the report editor's placement, DialogFolder (where its
//                     file dialogs start);
//   [RecentProjects]  File1 to File8, the projects opened or saved last.
// Every write reads the file, changes its own keys and writes it back whole,
// all or nothing, so that the windows keeping their parts in it never undo
// each other's.  A file that cannot be read reads as empty.  The store is a
// value: copies name the same file.
class SettingsStore
{
public:
    explicit SettingsStore(QString fileName) : m_fileName(std::move(fileName)) {}

    const QString &fileName() const { return m_fileName; }

    // The main window.
    static QString mainWindowSection() { return QStringLiteral("View"); }
    // The stored tab, 0 or 1; 0 when the file, the key or a valid value is missing.
    int tabIndex() const;
    struct MainWindowView
    {
        std::optional<WindowPlacement> placement;
        int upperHalfHeight = -1; // -1: not stored
        std::optional<Laying> laying;
        std::optional<Wall> wall;
    };
    // Nothing when the file cannot be read.
    std::optional<MainWindowView> mainWindowView(int pixelsPerInch, const QSize &screen) const;
    Result<> writeTabIndex(int tab) const;
    // The tab, the placement and the view (its placement member aside).
    Result<> writeMainWindow(int tab, const WindowPlacement &placement, int pixelsPerInch, const QSize &screen,
                             const MainWindowView &view) const;

    // The report editor.
    static QString editorSection() { return QStringLiteral("Editor"); }
    // Nothing when the file cannot be read or holds none.
    std::optional<WindowPlacement> editorPlacement(int pixelsPerInch, const QSize &screen) const;
    Result<> writeEditorPlacement(const WindowPlacement &placement, int pixelsPerInch, const QSize &screen) const;
    // Empty when none is stored.
    QString editorDialogFolder() const;
    Result<> writeEditorDialogFolder(const QString &folder) const;

    // The recent projects, at most RecentProjects::MaxCount.
    RecentProjects recentProjects() const;
    Result<> writeRecentProjects(const RecentProjects &recent) const;

private:
    // The file as it is; *readable tells whether it could be read.
    IniFile read(bool *readable = nullptr) const;
    // Reads the file, lets change() set keys and writes it back; the reason
    // when it cannot be written.
    Result<> write(const std::function<void(IniFile &)> &change) const;

    QString m_fileName;
};
