#include "app/CommandKeyFilter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

CommandKeyFilter::CommandKeyFilter(QWidget *mainWindow, QAction *execute, QAction *report, QAction *help)
    : QObject(mainWindow), m_main(mainWindow), m_execute(execute), m_report(report), m_help(help)
{}

void CommandKeyFilter::addLetterWindow(QWidget *window, std::function<bool(QWidget *)> accepts)
{
    m_letterWindows.append({window, std::move(accepts)});
}

bool CommandKeyFilter::isPlainKey(const QKeyEvent *event, int latinKey, char16_t cyrillicUpper)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    return event->key() == latinKey || event->key() == int(cyrillicUpper);
}

bool CommandKeyFilter::letterCommandsActIn(QWidget *activeWindow) const
{
    if (!activeWindow || QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    if (activeWindow == m_main)
        return true;
    for (const LetterWindow &w : m_letterWindows) {
        if (w.window == activeWindow)
            return !w.accepts || w.accepts(QApplication::focusWidget());
    }
    return false;
}

bool CommandKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        // An unhandled key event travels up the parent chain and passes here
        // once per widget; act where it is first delivered.
        if (key->key() == Qt::Key_F1 && !key->isAutoRepeat() && watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            QWidget *first = QApplication::focusWidget() ? QApplication::focusWidget() : widget->window();
            if (widget == first)
                m_help->trigger();
        }
        break;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        QAction *action = nullptr;
        if (isPlainKey(key, Qt::Key_C, u'С'))
            action = m_execute;
        else if (isPlainKey(key, Qt::Key_R, u'К'))
            action = m_report;
        if (action && letterCommandsActIn(QApplication::activeWindow())) {
            if (action->isEnabled())
                action->trigger();
            else
                Q_EMIT disabledCommandKey(action);
            return true;
        }
        break;
    }
    case QEvent::WindowActivate:
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow()) {
            const bool returning = watched == m_main && m_lastActive != m_main;
            m_lastActive = watched;
            if (returning)
                Q_EMIT mainWindowActivated();
        }
        break;
    default:
        break;
    }
    return false;
}
