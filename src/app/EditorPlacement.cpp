#include "app/EditorPlacement.h"

#include "app/WindowPlacement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

EditorPlacement::EditorPlacement(QWidget *editor, SettingsStore settings)
    : QObject(editor), m_editor(editor), m_settings(std::move(settings))
{
    restore();
    editor->installEventFilter(this);
}

void EditorPlacement::restore()
{
    const QScreen *screen = m_editor->screen();
    const auto placement = m_settings.editorPlacement(qRound(screen->logicalDotsPerInch()), screen->size());
    if (!placement)
        return;
    if (placement->normalBounds.isValid())
        m_editor->setGeometry(
            WindowPlacement::fitToScreens(placement->normalBounds, WindowPlacement::availableScreenAreas()));
    if (placement->showCmd == WindowPlacement::Maximized)
        m_editor->setWindowState(Qt::WindowMaximized);
}

void EditorPlacement::save()
{
    if (!m_editor)
        return;
    WindowPlacement placement;
    // A minimised editor comes back as it was before.
    placement.showCmd = m_editor->isMaximized() ? WindowPlacement::Maximized : WindowPlacement::Normal;
    placement.normalBounds = m_editor->normalGeometry().isValid() ? m_editor->normalGeometry() : m_editor->geometry();
    const QScreen *screen = m_editor->screen();
    m_settings.writeEditorPlacement(placement, qRound(screen->logicalDotsPerInch()), screen->size());
}

void EditorPlacement::saveIfShown()
{
    if (!m_editor)
        return;
    // Once: the editor going away afterwards writes nothing more.
    m_editor->removeEventFilter(this);
    if (m_editor->isVisible())
        save();
}

bool EditorPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && event->type() == QEvent::Hide && !event->spontaneous())
        save();
    return QObject::eventFilter(watched, event);
}
