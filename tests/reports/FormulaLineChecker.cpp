#include "FormulaLineChecker.h"

#include <QHash>
#include <QRegularExpression>

#include <cmath>

namespace {

const QChar Minus(0x2212);
const QChar Dot(0x00B7);
constexpr double Pi = 3.14159265358979323846;

// The digit a superscript character stands for, or -1.
int raisedDigit(QChar c)
{
    switch (c.unicode()) {
    case 0x2070:
        return 0;
    case 0x00B9:
        return 1;
    case 0x00B2:
        return 2;
    case 0x00B3:
        return 3;
    default:
        return c.unicode() >= 0x2074 && c.unicode() <= 0x2079 ? c.unicode() - 0x2070 : -1;
    }
}

bool isRaisedSign(QChar c)
{
    return c.unicode() == 0x207B || c.unicode() == 0x207A;
}

// A unit as a factor to its base unit, by what it measures.
struct Unit
{
    QString dimension;
    double factor = 1;
};

std::optional<Unit> unitOf(const QString &text)
{
    static const QHash<QString, Unit> units{
        {QStringLiteral("мм"), {QStringLiteral("length"), 1e-3}},
        {QStringLiteral("см"), {QStringLiteral("length"), 1e-2}},
        {QStringLiteral("м"), {QStringLiteral("length"), 1}},
        {QStringLiteral("Па"), {QStringLiteral("pressure"), 1}},
        {QStringLiteral("кПа"), {QStringLiteral("pressure"), 1e3}},
        {QStringLiteral("МПа"), {QStringLiteral("pressure"), 1e6}},
        {QStringLiteral("Н·м"), {QStringLiteral("moment"), 1}},
        {QStringLiteral("кН·м"), {QStringLiteral("moment"), 1e3}},
        {QStringLiteral("м³/с"), {QStringLiteral("flow"), 1}},
        {QStringLiteral("л/с"), {QStringLiteral("flow"), 1e-3}},
        {QStringLiteral("кг"), {QStringLiteral("mass"), 1}},
        {QStringLiteral("т"), {QStringLiteral("mass"), 1e3}},
        {QStringLiteral("Н/м³"), {QStringLiteral("weight"), 1}},
        {QStringLiteral("кН/м³"), {QStringLiteral("weight"), 1e3}},
    };
    const auto it = units.constFind(text);
    if (it == units.constEnd())
        return std::nullopt;
    return *it;
}

// Recursive descent over an expression as the reports print it.
class Parser
{
public:
    Parser(const QString &text, QChar separator) : m_text(text), m_separator(separator) {}

    std::optional<double> whole()
    {
        const std::optional<double> value = sum();
        skipBlanks();
        if (!value || m_at != m_text.size())
            return std::nullopt;
        return value;
    }

private:
    bool atChar(QChar c) const { return m_at < m_text.size() && m_text[m_at] == c; }

    void skipBlanks()
    {
        while (m_at < m_text.size() && m_text[m_at].isSpace())
            ++m_at;
    }

    std::optional<double> sum()
    {
        std::optional<double> value = product();
        while (value) {
            skipBlanks();
            const bool plus = atChar(QLatin1Char('+'));
            if (!plus && !atChar(Minus))
                break;
            ++m_at;
            const std::optional<double> right = product();
            if (!right)
                return std::nullopt;
            *value += plus ? *right : -*right;
        }
        return value;
    }

    std::optional<double> product()
    {
        std::optional<double> value = signedFactor();
        while (value) {
            skipBlanks();
            const bool times = atChar(Dot);
            if (!times && !atChar(QLatin1Char('/')))
                break;
            ++m_at;
            const std::optional<double> right = signedFactor();
            if (!right)
                return std::nullopt;
            *value = times ? *value * *right : *value / *right;
        }
        return value;
    }

    std::optional<double> signedFactor()
    {
        skipBlanks();
        if (atChar(Minus)) {
            ++m_at;
            const std::optional<double> value = signedFactor();
            return value ? std::optional<double>(-*value) : std::nullopt;
        }
        return postfix();
    }

    // A raised integer right here: "²", "⁻³".
    std::optional<int> raisedInteger()
    {
        int sign = 1;
        int start = m_at;
        if (m_at < m_text.size() && isRaisedSign(m_text[m_at])) {
            sign = m_text[m_at].unicode() == 0x207B ? -1 : 1;
            ++m_at;
        }
        int value = 0;
        int digits = 0;
        while (m_at < m_text.size() && raisedDigit(m_text[m_at]) >= 0) {
            value = value * 10 + raisedDigit(m_text[m_at]);
            ++m_at;
            ++digits;
        }
        if (digits == 0) {
            m_at = start;
            return std::nullopt;
        }
        return sign * value;
    }

    std::optional<double> postfix()
    {
        std::optional<double> value = primary();
        while (value && m_at < m_text.size()) {
            if (const std::optional<int> raised = raisedInteger()) {
                value = std::pow(*value, *raised);
            } else if (atChar(QLatin1Char('^'))) {
                ++m_at;
                std::optional<double> power;
                if (atChar(QLatin1Char('('))) {
                    power = primary();
                } else {
                    // A single number, signed or not: "^0,0516".
                    const bool negative = atChar(Minus);
                    if (negative)
                        ++m_at;
                    power = number();
                    if (power && negative)
                        *power = -*power;
                }
                if (!power)
                    return std::nullopt;
                value = std::pow(*value, *power);
            } else if (atChar(QChar(0x00B0))) {
                ++m_at;
                value = *value * Pi / 180;
            } else {
                break;
            }
        }
        return value;
    }

    std::optional<double> number()
    {
        const int start = m_at;
        while (m_at < m_text.size() && m_text[m_at].isDigit() && m_text[m_at].unicode() < 0x80)
            ++m_at;
        if (m_at == start)
            return std::nullopt;
        if (atChar(m_separator) && m_at + 1 < m_text.size() && m_text[m_at + 1].isDigit()) {
            ++m_at;
            while (m_at < m_text.size() && m_text[m_at].isDigit() && m_text[m_at].unicode() < 0x80)
                ++m_at;
        }
        QString digits = m_text.mid(start, m_at - start);
        digits.replace(m_separator, QLatin1Char('.'));
        return digits.toDouble();
    }

    std::optional<double> bracketed(QChar open, QChar close)
    {
        if (!atChar(open))
            return std::nullopt;
        ++m_at;
        const std::optional<double> value = sum();
        skipBlanks();
        if (!value || !atChar(close))
            return std::nullopt;
        ++m_at;
        return value;
    }

    std::optional<double> primary()
    {
        skipBlanks();
        if (m_at >= m_text.size())
            return std::nullopt;
        const QChar c = m_text[m_at];
        if (c.isDigit())
            return number();
        if (c == QLatin1Char('('))
            return bracketed(QLatin1Char('('), QLatin1Char(')'));
        if (c == QLatin1Char('['))
            return bracketed(QLatin1Char('['), QLatin1Char(']'));
        if (c == QChar(0x221A)) {
            ++m_at;
            const std::optional<double> value = postfix();
            return value ? std::optional<double>(std::sqrt(*value)) : std::nullopt;
        }
        if (c.isLetter())
            return function();
        return std::nullopt;
    }

    std::optional<double> function()
    {
        const int start = m_at;
        while (m_at < m_text.size() && m_text[m_at].isLetter())
            ++m_at;
        const QString name = m_text.mid(start, m_at - start);
        const std::optional<int> power = raisedInteger();
        QVector<double> arguments;
        if (atChar(QLatin1Char('('))) {
            ++m_at;
            for (;;) {
                const std::optional<double> argument = sum();
                if (!argument)
                    return std::nullopt;
                arguments << *argument;
                skipBlanks();
                if (atChar(QLatin1Char(';'))) {
                    ++m_at;
                    continue;
                }
                if (!atChar(QLatin1Char(')')))
                    return std::nullopt;
                ++m_at;
                break;
            }
        } else {
            // "lg 745570", "tg 30°": the function of the factor after it.
            skipBlanks();
            const std::optional<double> argument = postfix();
            if (!argument)
                return std::nullopt;
            arguments << *argument;
        }
        std::optional<double> value;
        const double x = arguments.first();
        if (arguments.size() == 1) {
            if (name == QLatin1String("sin"))
                value = std::sin(x);
            else if (name == QLatin1String("cos"))
                value = std::cos(x);
            else if (name == QLatin1String("tg"))
                value = std::tan(x);
            else if (name == QLatin1String("arccos"))
                value = std::acos(x);
            else if (name == QLatin1String("lg"))
                value = std::log10(x);
        } else if (arguments.size() == 2) {
            if (name == QLatin1String("min"))
                value = std::min(arguments[0], arguments[1]);
            else if (name == QLatin1String("max"))
                value = std::max(arguments[0], arguments[1]);
        }
        if (value && power)
            value = std::pow(*value, *power);
        return value;
    }

    const QString &m_text;
    QChar m_separator;
    int m_at = 0;
};

QString withoutEndPunctuation(QString text)
{
    text = text.trimmed();
    while (!text.isEmpty() && QStringLiteral(".,;:").contains(text.back()))
        text.chop(1);
    return text.trimmed();
}

// Lines continued on the next: "… =" with "= …", "… +" with "+ …".
QStringList joinedLines(const QString &text)
{
    QStringList lines;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        const auto continues = [&line](const QString &last) {
            for (const QChar op : {QLatin1Char('='), QLatin1Char('+')}) {
                if (last.endsWith(op) && line.startsWith(op))
                    return true;
            }
            return false;
        };
        if (!lines.isEmpty() && continues(lines.last()))
            lines.last() = lines.last().chopped(1).trimmed() + QLatin1Char(' ') + line;
        else
            lines << line;
    }
    return lines;
}

} // namespace

std::optional<double> FormulaLineChecker::evaluate(const QString &expression) const
{
    Parser parser(expression, m_separator);
    return parser.whole();
}

std::optional<FormulaLineChecker::Quantity> FormulaLineChecker::leadingQuantity(const QString &text) const
{
    static const QRegularExpression pattern(
        QStringLiteral("^[\\s\\x{00A0}]*(−?\\d+(?:[.,]\\d+)?)(?:·10([⁻⁺]?[⁰¹²³⁴⁵⁶⁷⁸⁹]+))?"
                       "(?:[\\s\\x{00A0}]?([^\\s\\x{00A0}\\d(),;:.=≤≥<>+−·/^][^\\s\\x{00A0}(),;:=≤≥<>+−]*))?"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QString mantissa = match.captured(1);
    if (mantissa.contains(m_separator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',')))
        return std::nullopt;
    mantissa.replace(Minus, QLatin1Char('-')).replace(m_separator, QLatin1Char('.'));
    Quantity q;
    q.value = mantissa.toDouble();
    if (match.capturedLength(2) > 0) {
        int power = 0;
        int sign = 1;
        for (const QChar c : match.captured(2)) {
            if (c.unicode() == 0x207B)
                sign = -1;
            else if (raisedDigit(c) >= 0)
                power = power * 10 + raisedDigit(c);
        }
        q.value *= std::pow(10.0, sign * power);
    }
    q.unit = match.captured(3);
    // A unit ends a sentence with its full stop.
    while (q.unit.endsWith(QLatin1Char('.')))
        q.unit.chop(1);
    q.length = int(match.capturedEnd(0));
    return q;
}

bool FormulaLineChecker::close(double expected, double printed) const
{
    if (expected == 0)
        return printed == 0;
    return std::fabs(printed - expected) <= m_tolerance * std::fabs(expected);
}

QStringList FormulaLineChecker::check(const QString &text)
{
    m_steps = 0;
    m_zeros.clear();
    m_unread.clear();
    QStringList findings;
    const QChar other = m_separator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    const QRegularExpression otherSeparator(QStringLiteral("\\d\\%1\\d").arg(other));
    static const QRegularExpression hyphenMinus(QStringLiteral("(?<![\\w-])-\\d"));
    for (const QString &line : joinedLines(text)) {
        if (line.contains(otherSeparator))
            findings << line + QStringLiteral(": a number with the other decimal separator");
        if (line.contains(hyphenMinus))
            findings << line + QStringLiteral(": a hyphen for a minus sign");
        if (line.contains(QStringLiteral("+ −")) || line.contains(QStringLiteral("− −")))
            findings << line + QStringLiteral(": a sign before a negative number");
        const int before = m_steps;
        checkLine(line, findings);
        checkRelations(line, findings);
        if (line.contains(QLatin1Char('\t')))
            checkTableRow(line, findings);
        // Numbers worked with one another: "2·0,2", "/0,38", "6 + 0,5"
        // (a power of ten is one number: "1,49·10⁻⁶").
        static const QRegularExpression arithmetic(
            QStringLiteral("\\d[)²³]?[·/]\\(?(?!10[⁻⁺⁰¹²³⁴⁵⁶⁷⁸⁹])\\d|\\d[\\s\\x{00A0}][+−][\\s\\x{00A0}]\\(?\\d"));
        if (m_steps == before && line.contains(QLatin1Char('=')) && line.contains(arithmetic))
            m_unread << line;
    }
    return findings;
}

void FormulaLineChecker::checkLine(const QString &line, QStringList &findings)
{
    const QStringList parts = line.split(QLatin1Char('='));
    for (int i = 1; i < parts.size(); ++i) {
        // The left side: an expression, or a number with its unit.
        const QString left = withoutEndPunctuation(parts[i - 1]);
        std::optional<double> leftValue = evaluate(left);
        QString leftUnit;
        if (!leftValue) {
            const std::optional<Quantity> q = leadingQuantity(left);
            if (!q || q->length != left.size() || !unitOf(q->unit))
                continue;
            leftValue = q->value;
            leftUnit = q->unit;
        }
        // The right side: an expression, or a number that the rest of the
        // sentence follows.
        const QString right = withoutEndPunctuation(parts[i]);
        std::optional<double> rightValue = evaluate(right);
        QString rightUnit;
        std::optional<Quantity> rightQuantity;
        if (!rightValue) {
            rightQuantity = leadingQuantity(parts[i]);
            if (!rightQuantity)
                continue;
            const QString rest = parts[i].mid(rightQuantity->length).trimmed();
            // "… = 1 − 0,7·ψ": an expression with symbols, not a result.
            if (!rest.isEmpty() && QStringLiteral("+−·/^").contains(rest.front()))
                continue;
            rightValue = rightQuantity->value;
            rightUnit = rightQuantity->unit;
        }
        double expected = *leftValue;
        double printed = *rightValue;
        if (printed == 0) {
            const QString named = parts.first().trimmed().split(QLatin1Char(' ')).last();
            if (!m_zeros.contains(named))
                m_zeros << named;
        }
        if (!leftUnit.isEmpty() && !rightUnit.isEmpty() && leftUnit != rightUnit) {
            const std::optional<Unit> from = unitOf(leftUnit);
            const std::optional<Unit> to = unitOf(rightUnit);
            if (!from || !to || from->dimension != to->dimension) {
                findings << line + QStringLiteral(": cannot hold %1 against %2").arg(leftUnit, rightUnit);
                continue;
            }
            expected *= from->factor / to->factor;
        }
        ++m_steps;
        if (!close(expected, printed)) {
            findings << line
                            + QStringLiteral(": «%1» gives %2, printed %3")
                                  .arg(left)
                                  .arg(expected, 0, 'g', 7)
                                  .arg(printed, 0, 'g', 7);
        }
    }
    // A share and the same in per cent: "0,0408 (4,080 %)".
    static const QRegularExpression percent(
        QStringLiteral("(−?\\d+(?:[.,]\\d+)?(?:·10[⁻⁺]?[⁰¹²³⁴⁵⁶⁷⁸⁹]+)?)[\\s\\x{00A0}]*\\(([^()%]+)[\\s\\x{00A0}]%\\)"));
    for (auto it = percent.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const std::optional<Quantity> share = leadingQuantity(m.captured(1));
        const std::optional<Quantity> inPerCent = leadingQuantity(m.captured(2));
        ++m_steps;
        if (!share || !inPerCent || !close(share->value * 100, inPerCent->value))
            findings << line + QStringLiteral(": «%1» is not the same in per cent").arg(m.captured(0));
    }
}

void FormulaLineChecker::checkRelations(const QString &line, QStringList &findings)
{
    static const QRegularExpression relation(
        QStringLiteral("(−?\\d+(?:[.,]\\d+)?(?:·10[⁻⁺]?[⁰¹²³⁴⁵⁶⁷⁸⁹]+)?)(?:[\\s\\x{00A0}][^\\s\\d≤≥<>=]+)?"
                       "[\\s\\x{00A0}]*([≤≥<>])[\\s\\x{00A0}]*(?:[^=\\d≤≥<>]{1,16}=[\\s\\x{00A0}]*)?"
                       "(−?\\d+(?:[.,]\\d+)?(?:·10[⁻⁺]?[⁰¹²³⁴⁵⁶⁷⁸⁹]+)?)"));
    for (auto it = relation.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const std::optional<Quantity> a = leadingQuantity(m.captured(1));
        const std::optional<Quantity> b = leadingQuantity(m.captured(3));
        if (!a || !b)
            continue;
        ++m_steps;
        const QChar sign = m.captured(2).front();
        bool holds = false;
        if (sign == QChar(0x2264))
            holds = a->value <= b->value;
        else if (sign == QChar(0x2265))
            holds = a->value >= b->value;
        else if (sign == QLatin1Char('<'))
            holds = a->value < b->value;
        else
            holds = a->value > b->value;
        if (!holds)
            findings << line + QStringLiteral(": «%1» does not hold as printed").arg(m.captured(0));
    }
}

void FormulaLineChecker::checkTableRow(const QString &line, QStringList &findings)
{
    // Name, symbol, value, unit and the value in SI units with its unit.
    const QStringList cells = line.split(QLatin1Char('\t'));
    if (cells.size() != 5 || cells[4].trimmed().isEmpty())
        return;
    const std::optional<Quantity> value = leadingQuantity(cells[2] + QLatin1Char(' ') + cells[3]);
    const std::optional<Quantity> si = leadingQuantity(cells[4]);
    if (!value || !si)
        return;
    const std::optional<Unit> from = unitOf(value->unit);
    const std::optional<Unit> to = unitOf(si->unit);
    ++m_steps;
    if (!from || !to || from->dimension != to->dimension || !close(value->value * from->factor / to->factor, si->value))
        findings << line + QStringLiteral(": the value in SI units does not match");
}
