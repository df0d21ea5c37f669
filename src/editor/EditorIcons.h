#pragma once

#include <QIcon>

// The pictures of the report editor's commands: the desktop theme's when it
// has them, otherwise drawn here in one flat style.
class EditorIcons
{
public:
    enum class Picture {
        New,
        Open,
        Save,
        Print,
        Preview,
        Pdf,
        Undo,
        Redo,
        Cut,
        Copy,
        Paste,
        Bold,
        Italic,
        Underline,
        AlignLeft,
        AlignCenter,
        AlignRight,
        Bullets,
    };

    static QIcon icon(Picture picture);
    // The picture drawn here, whatever the theme offers.
    static QIcon drawn(Picture picture);
};
