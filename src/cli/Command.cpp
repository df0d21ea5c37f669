#include "cli/Command.h"

#include <QRegularExpression>

namespace {

// The widest line of a synopsis in the help, in characters.
constexpr int HelpWidth = 81;

} // namespace

Command::Command(QString name, QStringList synopsis, QString help)
    : m_name(std::move(name)), m_synopsis(std::move(synopsis)), m_help(std::move(help))
{}

Command::~Command() = default;

QStringList Command::options() const
{
    return optionsNamedIn(m_synopsis.join(QLatin1Char(' ')));
}

QStringList Command::optionsNamedIn(const QString &text)
{
    static const QRegularExpression option(QStringLiteral("(?<![A-Za-z])--?[a-z][a-z-]*"));
    QStringList result;
    QRegularExpressionMatchIterator found = option.globalMatch(text);
    while (found.hasNext()) {
        const QString name = found.next().captured();
        if (!result.contains(name))
            result << name;
    }
    return result;
}

QString Command::usage() const
{
    const QString start = QStringLiteral("  pipecalc-cli ") + m_name;
    const QString indent(start.size() + 1, QLatin1Char(' '));
    QString text;
    QString line = start;
    for (const QString &word : m_synopsis) {
        if (line.size() + 1 + word.size() > HelpWidth) {
            text += line + QLatin1Char('\n');
            line = indent + word;
        } else {
            line += QLatin1Char(' ') + word;
        }
    }
    return text + line + QLatin1Char('\n');
}
