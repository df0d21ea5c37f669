#include "model/Variable.h"

#include "model/NumberFormat.h"

#include <QHash>

QString Variable::formatValue() const
{
    return NumberFormat::format(m_format, m_value);
}

QString Variable::formatScaled(double factor) const
{
    const long double product = static_cast<long double>(m_value) * static_cast<long double>(factor);
    return NumberFormat::formatExtended(m_format, product);
}

QString Variable::shownName() const
{
    return m_symbolMark ? symbolName(m_name) : m_name;
}

QString Variable::symbolName(const QString &name)
{
    static const QHash<QChar, QChar> greek = [] {
        const char latin[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        const char16_t letters[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖαβχδεφγηιϕκλμνοπθρστυϖωξψζ";
        QHash<QChar, QChar> map;
        for (int i = 0; i < 52; ++i)
            map.insert(QLatin1Char(latin[i]), QChar(letters[i]));
        return map;
    }();
    QString out = name;
    for (QChar &c : out)
        c = greek.value(c, c);
    return out;
}
