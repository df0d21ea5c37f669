#include "richtext/RtfListNumbering.h"

#include "richtext/FormatKeys.h"

namespace {

using NumberFormat = RtfListNumbering::NumberFormat;

QString roman(int number, bool upper)
{
    static const struct
    {
        int value;
        const char *upper;
        const char *lower;
    } digits[] = {{1000, "M", "m"}, {900, "CM", "cm"}, {500, "D", "d"},  {400, "CD", "cd"}, {100, "C", "c"},
                  {90, "XC", "xc"}, {50, "L", "l"},    {40, "XL", "xl"}, {10, "X", "x"},    {9, "IX", "ix"},
                  {5, "V", "v"},    {4, "IV", "iv"},   {1, "I", "i"}};
    QString text;
    for (const auto &digit : digits) {
        while (number >= digit.value) {
            text += QLatin1String(upper ? digit.upper : digit.lower);
            number -= digit.value;
        }
    }
    return text;
}

// Letters as word processors count: a..z, then aa..zz, aaa...
QString letters(int number, bool upper)
{
    const QChar letter(char16_t((upper ? 'A' : 'a') + (number - 1) % 26));
    return QString((number - 1) / 26 + 1, letter);
}

// The number as a QTextList of the style shows it.
QString qtNumberText(int number, QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
        return QString::number(number);
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman:
        return number < 5000 ? roman(number, style == QTextListFormat::ListUpperRoman) : QStringLiteral("?");
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha: {
        QString text;
        const char16_t base = style == QTextListFormat::ListUpperAlpha ? 'A' : 'a';
        for (int c = number; c > 0; c /= 26) {
            --c;
            text.prepend(QChar(char16_t(base + c % 26)));
        }
        return text;
    }
    default:
        return QString();
    }
}

QTextListFormat::Style numberStyle(NumberFormat format)
{
    switch (format) {
    case NumberFormat::Decimal:
    case NumberFormat::LeadingZero:
        return QTextListFormat::ListDecimal;
    case NumberFormat::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    case NumberFormat::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    case NumberFormat::UpperLetter:
        return QTextListFormat::ListUpperAlpha;
    case NumberFormat::LowerLetter:
        return QTextListFormat::ListLowerAlpha;
    default:
        return QTextListFormat::ListStyleUndefined;
    }
}

QString followText(RtfListNumbering::Follow follow)
{
    switch (follow) {
    case RtfListNumbering::Follow::Tab:
        return QStringLiteral("\t");
    case RtfListNumbering::Follow::Space:
        return QStringLiteral(" ");
    default:
        return QString();
    }
}

} // namespace

QString RtfListNumbering::numberText(int number, NumberFormat format)
{
    switch (format) {
    case NumberFormat::UpperRoman:
    case NumberFormat::LowerRoman:
        return number > 0 && number < 5000 ? roman(number, format == NumberFormat::UpperRoman)
                                           : QString::number(number);
    case NumberFormat::UpperLetter:
    case NumberFormat::LowerLetter:
        return number > 0 ? letters(number, format == NumberFormat::UpperLetter) : QString::number(number);
    case NumberFormat::LeadingZero:
        return number >= 0 && number < 10 ? QLatin1Char('0') + QString::number(number) : QString::number(number);
    case NumberFormat::Bullet:
    case NumberFormat::None:
        return QString();
    default:
        return QString::number(number);
    }
}

QTextListFormat::Style RtfListNumbering::bulletStyle(const QString &text)
{
    if (text.size() != 1)
        return QTextListFormat::ListStyleUndefined;
    switch (text.at(0).unicode()) {
    case 0x2022: // •
    case 0x00B7: // ·
    case 0xF0B7: // The Symbol typeface's bullet, by its private-use code.
        return QTextListFormat::ListDisc;
    case 0x25E6: // ◦
    case 'o':
    case 0xF06F:
        return QTextListFormat::ListCircle;
    case 0x25AA: // ▪
    case 0x25A0: // ■
    case 0xF0A7: // Wingdings' square.
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListStyleUndefined;
    }
}

QChar RtfListNumbering::bulletChar(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle:
        return QChar(0x25E6);
    case QTextListFormat::ListSquare:
        return QChar(0x25AA);
    default:
        return QChar(0x2022);
    }
}

RtfListNumbering::Level RtfListNumbering::levelOf(const QTextListFormat &format)
{
    Level level;
    switch (format.style()) {
    case QTextListFormat::ListDecimal:
        level.format = NumberFormat::Decimal;
        break;
    case QTextListFormat::ListUpperRoman:
        level.format = NumberFormat::UpperRoman;
        break;
    case QTextListFormat::ListLowerRoman:
        level.format = NumberFormat::LowerRoman;
        break;
    case QTextListFormat::ListUpperAlpha:
        level.format = NumberFormat::UpperLetter;
        break;
    case QTextListFormat::ListLowerAlpha:
        level.format = NumberFormat::LowerLetter;
        break;
    default:
        level.format = NumberFormat::Bullet;
        level.text = QString(bulletChar(format.style()));
        return level;
    }
    const auto plain = [](QString text) {
        // Characters below U+0009 would read as placeholders, and other
        // control characters are no text of a level; a tab is.
        text.removeIf([](QChar ch) { return ch.unicode() < 0x20 && ch != QLatin1Char('\t'); });
        return text;
    };
    const QString suffix =
        format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix() : QStringLiteral(".");
    const int own = qBound(0, format.intProperty(FormatKeys::ListLevel), 8);
    level.text = plain(format.numberPrefix()) + QChar(char16_t(own)) + plain(suffix);
    return level;
}

RtfListNumbering::Item RtfListNumbering::add(int group, const Levels &levels, int level)
{
    level = qBound(0, level, 8);
    Counters &counters = m_counters[group];
    const Level &definition = levels[static_cast<std::size_t>(level)];
    const auto at = [](auto &array, int index) -> auto &
    {
        return array[static_cast<std::size_t>(index)];
    };

    int &number = at(counters.number, level);
    number = at(counters.counted, level) ? number + 1 : definition.start;
    at(counters.counted, level) = true;
    for (int deeper = level + 1; deeper < 9; ++deeper) {
        if (!levels[static_cast<std::size_t>(deeper)].noRestart) {
            at(counters.counted, deeper) = false;
            at(counters.list, deeper) = -1;
        }
    }

    // The level text with the numbers of the other levels put in; the
    // item's own number splits it into prefix and suffix.
    QString prefix;
    QString suffix;
    bool ownNumber = false;
    for (const QChar ch : definition.text) {
        const int placeholder = ch.unicode();
        QString part;
        if (placeholder < 9) {
            if (placeholder == level && !ownNumber) {
                ownNumber = true;
                continue;
            }
            const std::size_t other = static_cast<std::size_t>(placeholder);
            const int value = counters.counted[other] ? counters.number[other] : levels[other].start;
            part = numberText(value,
                              definition.legal && placeholder < level ? NumberFormat::Decimal : levels[other].format);
        } else {
            part = QString(ch);
        }
        (ownNumber ? suffix : prefix) += part;
    }

    // A level that shows no number of its own shows its text as it stands:
    // a bullet, or words, or the numbers of the levels above.  A bullet
    // level whose text is empty or made for a number shows the common
    // bullet.
    const bool bullet = definition.format == NumberFormat::Bullet || !ownNumber;
    if (definition.format == NumberFormat::Bullet && (ownNumber || prefix.isEmpty())) {
        prefix = QString(QChar(0x2022));
        suffix.clear();
    }

    Item item;
    item.label = bullet ? prefix : prefix + numberText(number, definition.format) + suffix;
    item.follow = definition.follow;
    item.marker = item.label.isEmpty() ? QString() : item.label + followText(definition.follow);

    QTextListFormat::Style style = numberStyle(definition.format);
    if (bullet) {
        style = bulletStyle(prefix);
        prefix.clear();
    } else if (definition.format == NumberFormat::LeadingZero && number < 10) {
        prefix += QLatin1Char('0');
    }
    if (style == QTextListFormat::ListStyleUndefined)
        return item; // Nothing a QTextList shows.
    // The prefix, the number and the suffix are written back as one level
    // text, of at most 255 characters; longer ones come as text.
    if (prefix.size() + suffix.size() > 254)
        return item;
    // The leading zero of 01..09 stands in the prefix.
    const NumberFormat shown =
        definition.format == NumberFormat::LeadingZero ? NumberFormat::Decimal : definition.format;
    if (!bullet && qtNumberText(number, style) != numberText(number, shown))
        return item;

    int &list = at(counters.list, level);
    if (list >= 0) {
        Open &open = m_open[static_cast<std::size_t>(list)];
        if (open.items < MaxItemsPerList && open.prefix == prefix && open.suffix == suffix
            && (bullet || number == open.items + 1)) {
            ++open.items;
            item.list = list;
            return item;
        }
    }
    list = -1;
    if (!bullet && number != 1)
        return item; // A QTextList counts from 1.

    QTextListFormat format;
    format.setStyle(style);
    format.setIndent(0);
    format.setNumberPrefix(prefix);
    format.setNumberSuffix(suffix);
    format.setProperty(FormatKeys::ListGroup, group);
    format.setProperty(FormatKeys::ListLevel, level);
    format.setProperty(FormatKeys::ListLevelText, definition.text);
    QString formats;
    for (int above = 0; above <= level; ++above)
        formats += QChar(char16_t(levels[static_cast<std::size_t>(above)].format));
    format.setProperty(FormatKeys::ListLevelFormats, formats);
    if (definition.legal)
        format.setProperty(FormatKeys::ListLegal, true);
    if (definition.noRestart)
        format.setProperty(FormatKeys::ListNoRestart, true);
    if (definition.follow != Follow::Tab)
        format.setProperty(FormatKeys::ListFollow, static_cast<int>(definition.follow));
    m_lists.push_back(format);
    m_open.push_back(Open{prefix, suffix, 1});
    list = static_cast<int>(m_lists.size()) - 1;
    item.list = list;
    return item;
}
