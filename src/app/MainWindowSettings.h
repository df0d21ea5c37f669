#pragma once

#include "app/WindowPlacement.h"

#include <QSize>
#include <QString>

#include <optional>

class IniFile;

// The main window's part of the settings file: the calculation tab (section
// "Settings", key "TabIndex") and, in the placement section, the window
// placement, the height of the upper half and the laying and wall choices.
class MainWindowSettings
{
public:
    MainWindowSettings(QString fileName, QString section);

    const QString &fileName() const { return m_fileName; }
    const QString &section() const { return m_section; }

    // The stored tab, 0 or 1; 0 when the file, the key or a valid value is missing.
    int tabIndex() const;

    struct View
    {
        std::optional<WindowPlacement> placement;
        int panelHeight = -1; // -1: not stored
        int laying = -1;      // 0 or 1, -1: not stored or not valid
        int wall = -1;
    };
    // Nothing when the file cannot be read.
    std::optional<View> view(int pixelsPerInch, const QSize &screen) const;

    // Each write reads the file, changes its keys and writes it back; false,
    // with the reason, when it cannot be written.
    bool writeTabIndex(int tab, QString *reason = nullptr) const;
    bool writeView(int tab, const WindowPlacement &placement, int pixelsPerInch, const QSize &screen, const View &view,
                   QString *reason = nullptr) const;

private:
    QString m_fileName;
    QString m_section;
};
