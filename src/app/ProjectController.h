#pragma once

#include "app/RecentProjects.h"
#include "app/SettingsStore.h"
#include "calc/CalcProject.h"

#include <QObject>
#include <QString>

class CalcSession;
class QAction;
class QMenu;
class QWidget;

// The project commands of the main window: new, open, save, save as, the
// description, and the list of recent projects; the file name and the
// modified mark in the window's title.  The project is the session's setup:
// it counts as modified while the session differs from what was last
// opened, saved or started, so undoing a change clears the mark; a project
// without a file yet counts as modified only for its inputs, choices and
// description.  New, open and quitting ask before a modified project is
// dropped (Yes saves, No drops it, Cancel keeps it).
class ProjectController : public QObject
{
    Q_OBJECT

public:
    // The window shows the title and owns the menus; the settings keep the
    // recent list.
    ProjectController(QWidget *window, CalcSession &session, SettingsStore settings);

    QAction *newProjectAction = nullptr;
    QAction *openProjectAction = nullptr;
    QAction *saveProjectAction = nullptr;
    QAction *saveProjectAsAction = nullptr;
    QAction *propertiesAction = nullptr;
    QAction *clearRecentAction = nullptr;
    // "Последние проекты": one item per recent project, then "Очистить список".
    QMenu *recentMenu = nullptr;

    // Puts the commands into the project menu.
    void fillMenu(QMenu *menu);

    // The project's file; empty while it has none.
    const QString &fileName() const { return m_fileName; }
    bool isModified() const;
    const RecentProjects &recent() const { return m_recent; }
    // "name.pipecalc[*] — <program>", "Без имени[*] — <program>" for a new one.
    QString windowTitle() const;

    // The commands; each returns whether it was carried out.
    bool newProject();
    bool openProject();
    bool openFile(const QString &path);
    bool save();
    bool saveAs();
    bool editProperties();
    bool openRecent(const QString &path);
    void clearRecent();

    // Before the project is dropped: asks when it is modified.  True when
    // the caller may go on.
    bool confirmDrop();

Q_SIGNALS:
    // The session was replaced as a whole (new or opened project): the
    // window shows it anew.
    void sessionReplaced();

private:
    // Opens the file in place of the project, asking nothing.
    bool load(const QString &path);
    // The file's name, "Без имени" while there is none.
    QString shownName() const;
    void showTitle();
    void rebuildRecentMenu();
    void remember(const QString &path);
    bool writeTo(const QString &path);
    QString dialogFolder() const;
    static QString fileFilter();

    QWidget *m_window;
    CalcSession &m_session;
    SettingsStore m_settings;
    QString m_fileName;
    CalcProject m_saved;
    RecentProjects m_recent;
};
