#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class IniFile;

// The stored placement of a window: its show state and its normal bounds.
// Written as "FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos"
// and "NormPos" ("%d,%d,%d,%d", left, top, right, bottom), the last two also
// under a key with the screen size, "NormPos(1920x1080)".
class WindowPlacement
{
public:
    enum ShowCmd { Normal = 1, Minimized = 2, Maximized = 3 };

    int showCmd = Normal;
    int flags = 0;
    QRect normalBounds; // left, top, right, bottom as a rectangle

    // Writes the placement into the section.
    void save(IniFile &ini, const QString &section, int pixelsPerInch, const QSize &screen) const;

    // Reads the placement of the section.  The bounds are taken only when
    // the stored resolution equals the current one, from the key with the
    // current screen size when there is one; nothing when the section holds
    // no placement.
    static std::optional<WindowPlacement> load(const IniFile &ini, const QString &section, int pixelsPerInch,
                                               const QSize &screen);

    // "%d,%d,%d,%d" of a rectangle's left, top, right and bottom, and back.
    static QString rectText(const QRect &r);
    static std::optional<QRect> parseRect(const QString &text);
};
