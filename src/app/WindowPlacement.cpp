#include "app/WindowPlacement.h"

#include "app/IniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace {

QString screenKey(const QString &key, const QSize &screen)
{
    return QStringLiteral("%1(%2x%3)").arg(key).arg(screen.width()).arg(screen.height());
}

} // namespace

QString WindowPlacement::rectText(const QRect &r)
{
    // Right and bottom lie just outside the rectangle, as placement records have them.
    return QStringLiteral("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.left() + r.width()).arg(r.top() + r.height());
}

std::optional<QRect> WindowPlacement::parseRect(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || v[i] < -MaxCoordinate || v[i] > MaxCoordinate)
            return std::nullopt;
    }
    if (v[2] <= v[0] || v[3] <= v[1])
        return std::nullopt;
    return QRect(QPoint(v[0], v[1]), QSize(v[2] - v[0], v[3] - v[1]));
}

namespace {

qint64 overlapArea(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// How far a point lies from a rectangle, squared.
qint64 distanceSquared(const QRect &r, const QPoint &p)
{
    const qint64 dx = p.x() < r.left() ? r.left() - p.x() : p.x() > r.right() ? p.x() - r.right() : 0;
    const qint64 dy = p.y() < r.top() ? r.top() - p.y() : p.y() > r.bottom() ? p.y() - r.bottom() : 0;
    return dx * dx + dy * dy;
}

bool titleBarOnScreen(const QRect &bounds, const QVector<QRect> &screens)
{
    const int height = std::min(WindowPlacement::TitleBarHeight, bounds.height());
    const int grip = std::min(WindowPlacement::TitleBarGrip, bounds.width());
    for (const QRect &screen : screens) {
        const bool inHeight = bounds.top() >= screen.top() && bounds.top() + height - 1 <= screen.bottom();
        const int left = std::max(bounds.left(), screen.left());
        const int right = std::min(bounds.right(), screen.right());
        if (inHeight && right - left + 1 >= grip)
            return true;
    }
    return false;
}

} // namespace

QRect WindowPlacement::fitToScreens(const QRect &bounds, const QVector<QRect> &screens)
{
    if (screens.isEmpty() || bounds.isEmpty())
        return bounds;
    int chosen = 0;
    qint64 most = 0;
    for (int i = 0; i < screens.size(); ++i) {
        const qint64 area = overlapArea(screens[i], bounds);
        if (area > most) {
            most = area;
            chosen = i;
        }
    }
    if (most == 0) {
        qint64 nearest = distanceSquared(screens[0], bounds.center());
        for (int i = 1; i < screens.size(); ++i) {
            const qint64 distance = distanceSquared(screens[i], bounds.center());
            if (distance < nearest) {
                nearest = distance;
                chosen = i;
            }
        }
    }
    const QRect &screen = screens[chosen];
    const QSize size(std::min(bounds.width(), screen.width()), std::min(bounds.height(), screen.height()));
    const QRect fitted(bounds.topLeft(), size);
    if (titleBarOnScreen(fitted, screens))
        return fitted;
    // Onto the screen, as near as can be to where it was.
    const int left = std::clamp(fitted.left(), screen.left(), screen.left() + screen.width() - size.width());
    const int top = std::clamp(fitted.top(), screen.top(), screen.top() + screen.height() - size.height());
    return QRect(QPoint(left, top), size);
}

QVector<QRect> WindowPlacement::availableScreenAreas()
{
    QVector<QRect> areas;
    if (QScreen *primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    }
    return areas;
}

WindowPlacement WindowPlacement::of(const QWidget &window, MinimizedWindow minimized)
{
    WindowPlacement placement;
    if (window.isMinimized() && minimized == MinimizedWindow::Kept)
        placement.showCmd = WindowPlacement::Minimized;
    else if (window.isMaximized())
        placement.showCmd = Maximized;
    placement.normalBounds = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
    return placement;
}

void WindowPlacement::applyTo(QWidget &window, MinimizedWindow minimized) const
{
    if (normalBounds.isValid())
        window.setGeometry(fitToScreens(normalBounds, availableScreenAreas()));
    if (showCmd == Maximized)
        window.setWindowState(Qt::WindowMaximized);
    else if (showCmd == WindowPlacement::Minimized && minimized == MinimizedWindow::Kept)
        window.setWindowState(Qt::WindowMinimized);
}

WindowPlacement::Screen WindowPlacement::screenOf(const QWidget &window)
{
    const QScreen *screen = window.screen();
    return Screen{qRound(screen->logicalDotsPerInch()), screen->size()};
}

void WindowPlacement::save(IniFile &ini, const QString &section, int pixelsPerInch, const QSize &screen) const
{
    const QString noPosition = QStringLiteral("-1,-1,-1,-1");
    ini.setValue(section, QStringLiteral("FormVersion"), 0);
    ini.setValue(section, QStringLiteral("Flags"), flags);
    ini.setValue(section, QStringLiteral("ShowCmd"), showCmd);
    ini.setValue(section, QStringLiteral("PixelsPerInch"), pixelsPerInch);
    ini.setValue(section, QStringLiteral("MinMaxPos"), noPosition);
    ini.setValue(section, screenKey(QStringLiteral("MinMaxPos"), screen), noPosition);
    ini.setValue(section, QStringLiteral("NormPos"), rectText(normalBounds));
    ini.setValue(section, screenKey(QStringLiteral("NormPos"), screen), rectText(normalBounds));
}

std::optional<WindowPlacement> WindowPlacement::load(const IniFile &ini, const QString &section, int pixelsPerInch,
                                                     const QSize &screen)
{
    if (!ini.contains(section, QStringLiteral("ShowCmd")) && !ini.contains(section, QStringLiteral("NormPos")))
        return std::nullopt;
    WindowPlacement placement;
    placement.flags = ini.intValue(section, QStringLiteral("Flags"), 0);
    const int show = ini.intValue(section, QStringLiteral("ShowCmd"), Normal);
    placement.showCmd = (show == Minimized || show == Maximized) ? show : Normal;
    if (ini.intValue(section, QStringLiteral("PixelsPerInch"), -1) == pixelsPerInch) {
        const QString key = screenKey(QStringLiteral("NormPos"), screen);
        const QString text =
            ini.contains(section, key) ? ini.value(section, key) : ini.value(section, QStringLiteral("NormPos"));
        if (const auto bounds = parseRect(text))
            placement.normalBounds = *bounds;
    }
    return placement;
}
