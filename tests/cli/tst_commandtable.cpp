// The command table: the synopsis each command declares is what the help
// shows and what the manual pages' synopses say, and every option a
// synopsis names is described.

#include "cli/CliArgs.h"
#include "cli/Command.h"
#include "cli/CommandTable.h"
#include "model/SlotKeys.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

class SampleCommand : public Command
{
public:
    explicit SampleCommand(QStringList synopsis) : Command(QStringLiteral("sample"), std::move(synopsis), QString()) {}
    int execute(CliArgs &) const override { return 0; }
};

struct ManualSynopsis
{
    QString command; // empty for the line of --help and --version
    QString text;    // without the formatting
};

// The blocks of a manual page's SYNOPSIS (its second section), one for each
// ".br"-separated command line.
QVector<ManualSynopsis> manualSynopses(const QString &page)
{
    const QStringList lines = page.split(QLatin1Char('\n'));
    QVector<ManualSynopsis> result;
    int section = 0;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String(".SH"))) {
            if (++section > 2)
                break;
            continue;
        }
        if (section != 2)
            continue;
        if (line == QLatin1String(".br"))
            continue;
        if (line.startsWith(QLatin1String(".B pipecalc-cli"))) {
            // A hyphen in a command's name is escaped like any other.
            QString command = line.mid(QStringLiteral(".B pipecalc-cli").size()).trimmed();
            result.append({command.replace(QStringLiteral("\\-"), QStringLiteral("-")), QString()});
            continue;
        }
        if (result.isEmpty())
            continue;
        QString text = line;
        text.remove(QRegularExpression(QStringLiteral("^\\.[A-Z]+ ?")));
        text.remove(QRegularExpression(QStringLiteral("\\\\f[BIR]")));
        text.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        result.last().text += text + QLatin1Char(' ');
    }
    return result;
}

} // namespace

class TestCommandTable : public QObject
{
    Q_OBJECT

private slots:
    void usageFitsTheHelpWidth_data()
    {
        QTest::addColumn<QStringList>("synopsis");
        QTest::addColumn<QString>("usage");
        QTest::newRow("one line") << QStringList{"[--json]", "-o FILE"}
                                  << QStringLiteral("  pipecalc-cli sample [--json] -o FILE\n");
        // 81 characters still fit; the next word goes below the first.
        const QString long59(59, QLatin1Char('x'));
        const QString long60(60, QLatin1Char('x'));
        QTest::newRow("exactly the width")
            << QStringList{long59} << QStringLiteral("  pipecalc-cli sample ") + long59 + QStringLiteral("\n");
        QTest::newRow("one more wraps") << QStringList{
            long60} << QStringLiteral("  pipecalc-cli sample\n                      ") + long60 + QStringLiteral("\n");
        QTest::newRow("wrapped below the first word")
            << QStringList{long59, "[--set KEY=VALUE]...", "[--json]"}
            << QStringLiteral("  pipecalc-cli sample ") + long59 + QStringLiteral("\n")
                   + QStringLiteral("                      [--set KEY=VALUE]... [--json]\n");
        QTest::newRow("a word longer than a line stays whole")
            << QStringList{"a", long60 + long60}
            << QStringLiteral("  pipecalc-cli sample a\n                      ") + long60 + long60
                   + QStringLiteral("\n");
    }

    void usageFitsTheHelpWidth()
    {
        QFETCH(QStringList, synopsis);
        QFETCH(QString, usage);
        QCOMPARE(SampleCommand(synopsis).usage(), usage);
    }

    void optionsOfTheSynopsis()
    {
        const SampleCommand command(
            {"tubes|fiberglass-tubes", "--vary KEY=A:B", "[--vary KEY=A:B]...", "[--csv|--json]", "-o FILE"});
        QCOMPARE(command.options(), (QStringList{"--vary", "--csv", "--json", "-o"}));
    }

    void namesAreUnique()
    {
        QStringList names;
        for (const auto &command : CommandTable::commands()) {
            QVERIFY2(!names.contains(command->name()), qPrintable(command->name()));
            names << command->name();
            QCOMPARE(CommandTable::find(command->name()), command.get());
        }
        QCOMPARE(CommandTable::find(QStringLiteral("nonsense")), nullptr);
    }

    // Each command's help is indented below its synopsis and set off from
    // the next command by a blank line.
    void helpIsABlockOfItsOwn()
    {
        for (const auto &command : CommandTable::commands()) {
            const QString &help = command->help();
            QVERIFY2(help.startsWith(QLatin1String("      ")), qPrintable(command->name()));
            QVERIFY2(help.endsWith(QLatin1String("\n\n")), qPrintable(command->name()));
        }
    }

    // Every option a synopsis names has its entry among the help's options.
    void helpDescribesEveryOption()
    {
        const QString help = CommandTable::helpText();
        const int options = help.indexOf(QStringLiteral("\nПараметры:\n"));
        QVERIFY(options > 0);
        const QString list = help.mid(options);
        for (const auto &command : CommandTable::commands()) {
            QVERIFY(help.contains(command->usage() + command->help()));
            for (const QString &option : command->options()) {
                const QRegularExpression entry(
                    QStringLiteral("\n  (-[a-z], )?%1(?![a-z-])").arg(QRegularExpression::escape(option)));
                QVERIFY2(list.contains(entry), qPrintable(command->name() + QLatin1Char(' ') + option));
            }
        }
    }

    void manualSynopsisSaysWhatTheTableSays_data()
    {
        QTest::addColumn<QString>("pageFile");
        QTest::addColumn<QString>("calculationOptions");
        QTest::newRow("English") << QStringLiteral("pipecalc-cli.1") << QStringLiteral("calculation options");
        QTest::newRow("Russian") << QStringLiteral("ru/pipecalc-cli.1") << QStringLiteral("параметры расчёта");
    }

    // The same commands in the same order, each naming the same options
    // and the same choices; where the help says "параметры расчёта" the page
    // says so too.
    void manualSynopsisSaysWhatTheTableSays()
    {
        QFETCH(QString, pageFile);
        QFETCH(QString, calculationOptions);
        QFile file(QStringLiteral(PIPECALC_MANUAL_PAGES "/") + pageFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QVector<ManualSynopsis> synopses = manualSynopses(QString::fromUtf8(file.readAll()));
        const auto &commands = CommandTable::commands();
        QCOMPARE(synopses.size(), int(commands.size()) + 1);
        for (int i = 0; i < int(commands.size()); ++i) {
            const Command &command = *commands[size_t(i)];
            const ManualSynopsis &manual = synopses[i];
            QCOMPARE(manual.command, command.name());
            QCOMPARE(Command::optionsNamedIn(manual.text), command.options());
            const QString compact = QString(manual.text).remove(QLatin1Char(' '));
            for (const QString &word : command.synopsis()) {
                if (word.contains(QLatin1Char('|')) && !word.startsWith(QLatin1Char('[')))
                    QVERIFY2(compact.contains(word), qPrintable(command.name() + QLatin1Char(' ') + word));
            }
            const bool helpSaysCalculationOptions =
                command.synopsis().join(QLatin1Char(' ')).contains(QStringLiteral("[параметры расчёта"));
            QCOMPARE(manual.text.contains(calculationOptions), helpSaysCalculationOptions);
        }
        QCOMPARE(synopses.last().command, QString());
        QCOMPARE(Command::optionsNamedIn(synopses.last().text), (QStringList{"--help", "--version"}));
    }

    // Below the synopsis the page describes each command in an entry of its
    // own, and says how many variables there are.
    void manualDescribesEveryCommand_data()
    {
        QTest::addColumn<QString>("pageFile");
        QTest::addColumn<QString>("variables");
        QTest::newRow("English") << QStringLiteral("pipecalc-cli.1")
                                 << QStringLiteral("all (\\d+) calculation variables");
        QTest::newRow("Russian") << QStringLiteral("ru/pipecalc-cli.1") << QStringLiteral("всех (\\d+) переменных");
    }

    void manualDescribesEveryCommand()
    {
        QFETCH(QString, pageFile);
        QFETCH(QString, variables);
        QFile file(QStringLiteral(PIPECALC_MANUAL_PAGES "/") + pageFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());
        for (const auto &command : CommandTable::commands()) {
            const QString name = QString(command->name()).replace(QStringLiteral("-"), QStringLiteral("\\-"));
            const QRegularExpression entry(
                QStringLiteral("\n\\.TP\n\\.B[RI]? \"?%1[ \"\n]").arg(QRegularExpression::escape(name)));
            QVERIFY2(page.contains(entry), qPrintable(command->name()));
        }
        const QRegularExpressionMatch count = QRegularExpression(variables).match(page);
        QVERIFY(count.hasMatch());
        QCOMPARE(count.captured(1).toInt(), SlotKeys::Count);
    }
};

QTEST_GUILESS_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
