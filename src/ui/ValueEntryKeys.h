#pragma once

#include <QObject>

class QAbstractItemView;
class QLineEdit;

// The keys between the input grid and the value editor under it: Enter on
// the grid goes to the editor with its text selected, a digit, sign or
// separator typed on the grid starts the value in the editor, and Enter in
// the editor asks for the value to be taken.  A click into the editor
// selects its text, so that typing replaces it.
class ValueEntryKeys : public QObject
{
    Q_OBJECT

public:
    ValueEntryKeys(QAbstractItemView *grid, QLineEdit *editor);

Q_SIGNALS:
    void valueEntered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void typeIntoEditor(const QString &text);

    QAbstractItemView *m_grid;
    QLineEdit *m_editor;
    // The editor got the focus from a key typed on the grid: its text is
    // that key, not to be selected.
    bool m_typedIntoEditor = false;
};
