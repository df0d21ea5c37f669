#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include <optional>

class IniFile;
class QWidget;

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

    // How a minimised window is stored and brought back: the main window
    // keeps being minimised; the editor comes back as it was before.
    enum class MinimizedWindow { Kept, Dropped };

    // The placement of a window as it stands.
    static WindowPlacement of(const QWidget &window, MinimizedWindow minimized);
    // Puts a window where the placement says, fitted to the screens.
    void applyTo(QWidget &window, MinimizedWindow minimized) const;

    // The resolution and size of the screen a window is on: placements are
    // stored for them.
    struct Screen
    {
        int pixelsPerInch = 96;
        QSize size;
    };
    static Screen screenOf(const QWidget &window);

    // Writes the placement into the section.
    void save(IniFile &ini, const QString &section, int pixelsPerInch, const QSize &screen) const;

    // Reads the placement of the section.  The bounds are taken only when
    // the stored resolution equals the current one, from the key with the
    // current screen size when there is one; nothing when the section holds
    // no placement.
    static std::optional<WindowPlacement> load(const IniFile &ini, const QString &section, int pixelsPerInch,
                                               const QSize &screen);

    // "%d,%d,%d,%d" of a rectangle's left, top, right and bottom, and back.
    // Coordinates beyond MaxCoordinate either way read as no rectangle.
    static QString rectText(const QRect &r);
    static std::optional<QRect> parseRect(const QString &text);
    static constexpr int MaxCoordinate = 1 << 28;

    // The part of a window's top edge that must lie on a screen for the
    // user to see the window and drag it: the height of a title bar, and
    // this much of the width (or all of a narrower window).
    static constexpr int TitleBarHeight = 30;
    static constexpr int TitleBarGrip = 120;

    // Stored bounds made fit for the screens whose available areas are
    // given, the primary screen first: no larger than the screen that holds
    // most of the window (the nearest one when none does), and moved onto
    // that screen unless a title bar's worth of its top edge is on one of
    // the screens already.  Without screens the bounds stay as they are.
    static QRect fitToScreens(const QRect &bounds, const QVector<QRect> &screens);
    // The available areas of the screens of the running program, the
    // primary screen first.
    static QVector<QRect> availableScreenAreas();
};
