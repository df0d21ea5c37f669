#include "app/EditorPlacement.h"

#include "app/WindowPlacement.h"

#include <QEvent>
#include <QWidget>

EditorPlacement::EditorPlacement(QWidget *editor, SettingsStore settings)
    : QObject(editor), m_editor(editor), m_settings(std::move(settings))
{
    restore();
    editor->installEventFilter(this);
}

void EditorPlacement::restore()
{
    const WindowPlacement::Screen screen = WindowPlacement::screenOf(*m_editor);
    if (const auto placement = m_settings.editorPlacement(screen.pixelsPerInch, screen.size))
        placement->applyTo(*m_editor, WindowPlacement::MinimizedWindow::Dropped);
}

void EditorPlacement::save()
{
    if (!m_editor)
        return;
    const WindowPlacement::Screen screen = WindowPlacement::screenOf(*m_editor);
    // A failure is said by the main window, which writes the same file last.
    static_cast<void>(m_settings.writeEditorPlacement(
        WindowPlacement::of(*m_editor, WindowPlacement::MinimizedWindow::Dropped), screen.pixelsPerInch, screen.size));
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
