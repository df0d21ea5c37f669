#pragma once

#include "app/SettingsStore.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

// The report editor's size and place, kept in the settings from one run to
// the next: restored when the program starts,
// written whenever the editor is closed and when the program ends with the
// editor open.  A placement that would put the window off the screens, or
// make it larger than they are, is fitted to them as the main window's is.
class EditorPlacement : public QObject
{
    Q_OBJECT

public:
    EditorPlacement(QWidget *editor, SettingsStore settings);

    // Writes the placement when the editor is open (the program is ending).
    void saveIfShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restore();
    void save();

    QPointer<QWidget> m_editor;
    SettingsStore m_settings;
};
