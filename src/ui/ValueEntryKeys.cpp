#include "ui/ValueEntryKeys.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace {

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// A key typed on the input grid that starts a number: a digit, a sign or a
// decimal separator.
bool startsNumber(const QKeyEvent *key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return text.size() == 1 && QStringLiteral("0123456789-+,.").contains(text.front());
}

} // namespace

ValueEntryKeys::ValueEntryKeys(QAbstractItemView *grid, QLineEdit *editor)
    : QObject(editor), m_grid(grid), m_editor(editor)
{
    grid->installEventFilter(this);
    editor->installEventFilter(this);
}

void ValueEntryKeys::typeIntoEditor(const QString &text)
{
    m_typedIntoEditor = true;
    m_editor->setFocus(Qt::OtherFocusReason);
    m_editor->setText(text);
    m_editor->deselect();
    m_editor->setCursorPosition(int(text.size()));
}

bool ValueEntryKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isEnter(key)) {
            m_editor->setFocus(Qt::OtherFocusReason);
            m_editor->selectAll();
            return true;
        }
        if (startsNumber(key)) {
            // The first key is the first character of the value.
            typeIntoEditor(key->text());
            return true;
        }
    } else if (watched == m_editor) {
        if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
            Q_EMIT valueEntered();
            return true;
        }
        if (event->type() == QEvent::FocusIn) {
            if (m_typedIntoEditor) {
                m_typedIntoEditor = false;
            } else {
                // After the click that gave the focus has placed the caret.
                QTimer::singleShot(0, m_editor, &QLineEdit::selectAll);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
