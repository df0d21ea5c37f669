#include "CliRunner.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

// The text of a PDF as pdftotext reads it, or a null text without the tool.
QString pdfText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestCliReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static QByteArray realTemplate()
    {
        QFile file(
            QFileInfo(QStringLiteral(PIPECALC_CLI)).dir().filePath(QStringLiteral("Templates/HydraulicReport.rtf")));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private Q_SLOTS:
    void reportsAsText_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("hydraulic") << QStringList{"hydraulic"} << QStringList{"303,6", "0,3036", "3,192"};
        QTest::newRow("static from the database")
            << QStringList{"static", "--tube", "7", "--material", "1", "--soil", "4"}
            << QStringList{"0,6589", "0,2506", "Полиэтилен ПЭ 100", "Песок мелкий"};
        QTest::newRow("fiberglass trenchless")
            << QStringList{"fiberglass", "--material",
                           "5",          "--laying",
                           "trenchless", "--set",
                           "h=2",        "--set",
                           "M=20",       "--set",
                           "FSt=0.38",   "--set",
                           "Hv=1",       "--decimal-separator",
                           "."}
            << QStringList{"бестраншейный", "SN 10000", "= 13435 Па = 0.01344 МПа", "12650", "свой"};
        // The single-layer wall's own formulas, with the numbers of the run.
        QTest::newRow("fiberglass single-layer wall")
            << QStringList{"fiberglass", "--material", "4", "--wall", "single"}
            << QStringList{"Конструкция стенки трубы — однослойная.", "I = s³/12 = 0,012³/12 = 1,440·10⁻⁷ м⁴/м.",
                           "W = s²/6 = 0,012²/6 = 2,400·10⁻⁵ м³/м.", "A = s = 0,01200 м.",
                           "масса на ось транспортного средства M = 0 кг"};
    }

    void reportsAsText()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, texts);
        const QString out = m_dir.filePath(QStringLiteral("report.txt"));
        const CliRun run = runCli(QStringList{"report"} + args + QStringList{"-o", out});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        const QString text = readText(out).replace(QChar(0x00A0), QLatin1Char(' '));
        QVERIFY(!text.contains(QLatin1Char('$')));
        for (const QString &t : texts)
            QVERIFY2(text.contains(t), qPrintable(t));
    }

    void hydraulicReportWithoutOuterDiameter()
    {
        // A fiberglass tube leaves the outer diameter at 0: the flow does not
        // need it, and the report names none instead of "0 м".
        const QString out = m_dir.filePath(QStringLiteral("no-outer.txt"));
        QCOMPARE(runCli({"report", "hydraulic", "--set", "Dout=0", "-o", out}).exitCode, 0);
        const QString text = readText(out).replace(QChar(0x00A0), QLatin1Char(' '));
        QVERIFY(text.contains(QStringLiteral("с внутренним диаметром d = 0,348 м при уклоне")));
        QVERIFY(!text.contains(QStringLiteral("наружный диаметр")));
        // The index of Dн is lowered: plain text marks it.
        QVERIFY(text.contains(QStringLiteral("Наружный диаметр трубы\tD_н\t—\tм")));
    }

    void reportAsRtfAndPdf()
    {
        const QString rtf = m_dir.filePath(QStringLiteral("static.rtf"));
        QCOMPARE(runCli({"report", "static", "-o", rtf}).exitCode, 0);
        QFile file(rtf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("{\\rtf1"));

        const QString pdf = m_dir.filePath(QStringLiteral("static.pdf"));
        QCOMPARE(runCli({"report", "static", "-o", pdf}).exitCode, 0);
        QFile pdfFile(pdf);
        QVERIFY(pdfFile.open(QIODevice::ReadOnly));
        QVERIFY(pdfFile.readAll().startsWith("%PDF"));
        const QString text = pdfText(pdf);
        if (text.isNull())
            QSKIP("pdftotext is not installed; the PDF's text is not checked");
        QVERIFY(text.contains(QStringLiteral("Статический расчёт трубопровода Велтра-Норлекс")));
        QVERIFY(text.contains(QStringLiteral("0,6589")));
    }

    // The static report as a PDF: every page numbered, the conclusions and
    // the place to sign together on the last page, and each line drawn once.
    void staticReportPdfPages()
    {
        const QString pdf = m_dir.filePath(QStringLiteral("pages.pdf"));
        QCOMPARE(runCli({"report", "static", "-o", pdf}).exitCode, 0);
        const QString text = pdfText(pdf);
        if (text.isNull())
            QSKIP("pdftotext is not installed; the PDF's text is not checked");
        // pdftotext ends each page with a form feed.
        QStringList pages = text.split(QLatin1Char('\f'));
        while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        QVERIFY(pages.size() >= 2);
        for (int p = 0; p < pages.size(); ++p) {
            QCOMPARE(pages[p].count(QStringLiteral("Страница ")), 1);
            QVERIFY2(pages[p].contains(QStringLiteral("Страница %1 из %2").arg(p + 1).arg(pages.size())),
                     qPrintable(pages[p]));
        }
        for (const char *words : {"Выводы", "Заключение. Выполнено", "Выполнил", "Проверил"})
            QVERIFY2(pages.last().contains(QString::fromUtf8(words)), words);
        // Only a table's header row comes again, on the page the table goes on.
        QMap<QString, int> seen;
        for (const QString &line : text.split(QLatin1Char('\n'))) {
            const QString shown = line.simplified();
            if (shown.size() > 20 && !shown.startsWith(QStringLiteral("Наименование")))
                ++seen[shown];
        }
        QVERIFY(seen.size() > 50);
        for (auto it = seen.cbegin(); it != seen.cend(); ++it)
            QVERIFY2(it.value() == 1, qPrintable(it.key()));
    }

    // Told to write a point, a report writes no decimal comma: not in the
    // values, not in the constants of its formulas.
    void pointSeparatorThroughout_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("hydraulic") << QStringList{"hydraulic", "--set", "hs_d=0.3"};
        QTest::newRow("static") << QStringList{"static"};
        QTest::newRow("fiberglass trench") << QStringList{
            "fiberglass", "--material", "4", "--set", "h=2", "--set", "M=20", "--set", "FSt=0.38", "--set", "Hv=1"};
        QTest::newRow("fiberglass trenchless") << QStringList{
            "fiberglass", "--material", "5", "--laying", "trenchless", "--wall", "single", "--set", "h=2"};
    }

    void pointSeparatorThroughout()
    {
        QFETCH(QStringList, args);
        static const QRegularExpression comma(QStringLiteral("\\d,\\d"));
        static const QRegularExpression point(QStringLiteral("\\d\\.\\d"));
        for (const char *separator : {".", ","}) {
            const QString out = m_dir.filePath(QStringLiteral("separator.txt"));
            const CliRun run = runCli(QStringList{"report"} + args
                                      + QStringList{"--decimal-separator", QString::fromLatin1(separator), "-o", out});
            QCOMPARE(run.exitCode, 0);
            const QString text = readText(out);
            const bool pointWanted = *separator == '.';
            QCOMPARE(text.contains(comma), !pointWanted);
            QCOMPARE(text.contains(point), pointWanted);
        }
    }

    void convertToPdfWithTitle()
    {
        const QString source = m_dir.filePath(QStringLiteral("note.txt"));
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("Заметка инженера\nвторая строка\n").toUtf8());
        file.close();
        const QString pdf = m_dir.filePath(QStringLiteral("note.pdf"));
        const CliRun run = runCli({"convert", source, "-o", pdf, "--title", "Особый заголовок"});
        QCOMPARE(run.exitCode, 0);
        const QString text = pdfText(pdf);
        if (text.isNull())
            QSKIP("pdftotext is not installed; the PDF's text is not checked");
        QVERIFY(text.contains(QStringLiteral("Особый заголовок")));
        QVERIFY(text.contains(QStringLiteral("вторая строка")));
    }

    void failedCalculationWritesNothing()
    {
        const QString out = m_dir.filePath(QStringLiteral("none.rtf"));
        const CliRun run = runCli({"report", "hydraulic", "--set", "Din=0", "-o", out});
        QCOMPARE(run.exitCode, 4);
        QVERIFY(run.err.startsWith(QStringLiteral("Ошибка. Деление на ноль при вычислении")));
        QVERIFY(run.err.contains(QStringLiteral("Dвнутр")));
        QVERIFY(!QFile::exists(out));
        QCOMPARE(runCli({"report", "static", "--set", "F=0", "-o", out}).exitCode, 3);
        QVERIFY(!QFile::exists(out));
        QCOMPARE(runCli({"report", "static"}).exitCode, 2);
    }

    // A damaged or foreign template is refused: no report holds a placeholder
    // or a block marker, and nothing is written.
    void templateRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("words");
        const QByteArray real = TestCliReport::realTemplate();
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("truncated") << real.left(real.size() / 2) << "повреждён или неполон";
        QByteArray lacking = real;
        lacking.replace("$qs.Val_litr$", "");
        QTest::newRow("one placeholder missing") << lacking << "$qs.Val_litr$";
        QByteArray foreign = real;
        foreign.replace("$Rs.Val$", "$Rs.Val$ $Bogus.Val$");
        QTest::newRow("unknown placeholder") << foreign << "$Bogus.Val$";
        QByteArray block = real;
        block.replace("$Rs.Val$", "$Rs.Val$ $IF7$");
        QTest::newRow("stray block marker") << block << "$IF7$";
    }

    void templateRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, words);
        QTemporaryDir dir;
        const QString alone = dir.filePath(QStringLiteral("pipecalc-cli"));
        QVERIFY(QFile::copy(QStringLiteral(PIPECALC_CLI), alone));
        QFile::setPermissions(alone, QFileInfo(QStringLiteral(PIPECALC_CLI)).permissions());
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Templates")));
        QFile file(dir.filePath(QStringLiteral("Templates/HydraulicReport.rtf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        QProcess process;
        const QString out = dir.filePath(QStringLiteral("report.txt"));
        process.start(alone, {"report", "hydraulic", "-o", out});
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(process.exitCode(), 7);
        QVERIFY2(err.contains(QStringLiteral("шаблон"), Qt::CaseInsensitive) && err.contains(words), qPrintable(err));
        QVERIFY(!QFile::exists(out));
    }

    // Every report, every laying and wall, written as text, holds no
    // placeholder or block marker.
    void noPlaceholderLeft_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("hydraulic") << QStringList{"hydraulic"};
        QTest::newRow("static") << QStringList{"static"};
        for (const char *laying : {"trench", "trenchless"}) {
            for (const char *wall : {"single", "three"}) {
                for (const char *material : {"4", "5"}) {
                    QTest::addRow("fiberglass %s %s %s", laying, wall, material)
                        << QStringList{"fiberglass", "--laying", laying, "--wall", wall, "--material", material};
                }
            }
        }
    }

    void noPlaceholderLeft()
    {
        QFETCH(QStringList, args);
        const QString out = m_dir.filePath(QStringLiteral("plain.txt"));
        const CliRun run = runCli(QStringList{"report"} + args + QStringList{"-o", out});
        QCOMPARE(run.exitCode, 0);
        const QString text = readText(out);
        QVERIFY(!text.isEmpty());
        static const QRegularExpression placeholder(QStringLiteral("\\$[A-Za-z_/][^$\\s]*\\$"));
        QVERIFY2(!placeholder.match(text).hasMatch(), qPrintable(placeholder.match(text).captured(0)));
    }

    void missingTemplate()
    {
        // The tool looks for its templates beside itself.
        const QString alone = m_dir.filePath(QStringLiteral("pipecalc-cli"));
        QVERIFY(QFile::copy(QStringLiteral(PIPECALC_CLI), alone));
        QFile::setPermissions(alone, QFileInfo(QStringLiteral(PIPECALC_CLI)).permissions());
        QProcess process;
        const QString out = m_dir.filePath(QStringLiteral("none.txt"));
        process.start(alone, {"report", "hydraulic", "-o", out});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 7);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()).trimmed(),
                 QStringLiteral("Не могу открыть файл шаблона отчёта."));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_GUILESS_MAIN(TestCliReport)
#include "tst_cli_report.moc"
