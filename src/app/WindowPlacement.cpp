#include "app/WindowPlacement.h"

#include "app/IniFile.h"

#include <QStringList>

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
        if (!ok)
            return std::nullopt;
    }
    if (v[2] <= v[0] || v[3] <= v[1])
        return std::nullopt;
    return QRect(QPoint(v[0], v[1]), QSize(v[2] - v[0], v[3] - v[1]));
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
        const QString text = ini.contains(section, key) ? ini.value(section, key)
                                                        : ini.value(section, QStringLiteral("NormPos"));
        if (const auto bounds = parseRect(text))
            placement.normalBounds = *bounds;
    }
    return placement;
}
