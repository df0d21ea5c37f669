// What LibreOffice reads of the RTF we write: the page, page breaks, weights
// and list indents of one document, converted once by LibreOffice to a flat
// OpenDocument file whose styles say what it understood.  Skipped where
// LibreOffice is not installed.
#include "TestDocuments.h"

#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUrl>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>
#include <utility>

namespace {

// A user profile that tells LibreOffice it has run this version (or a later
// one) before, so that it does not spend half a minute on the graphics tests
// it runs at the first start of a version.
const char kProfile[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" xmlns:xs=\"http://www.w3.org/2001/XMLSchema\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "<item oor:path=\"/org.openoffice.Setup/Product\"><prop oor:name=\"ooSetupLastVersion\" oor:op=\"fuse\">"
    "<value>99.9</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"FirstRun\" oor:op=\"fuse\">"
    "<value>false</value></prop></item>\n"
    "</oor:items>\n";

// A length of an OpenDocument attribute ("0.3126in", "-0.25in", "2cm"...)
// in twips; NaN for what is no length.
double twips(const QString &length)
{
    static const std::pair<const char *, double> units[] = {
        {"in", 1440.0}, {"cm", 1440.0 / 2.54}, {"mm", 1440.0 / 25.4}, {"pt", 20.0}, {"pc", 240.0}};
    for (const auto &[unit, factor] : units) {
        if (length.endsWith(QLatin1String(unit))) {
            bool ok = false;
            const double value = length.chopped(2).toDouble(&ok);
            return ok ? value * factor : std::nan("");
        }
    }
    return std::nan("");
}

// What a flat OpenDocument text says of the page, of each paragraph (by its
// text) and of each word's weight.
class OpenDocumentReading
{
public:
    bool read(const QByteArray &xml)
    {
        QXmlStreamReader reader(xml);
        QString style; // The style being read.
        QString family;
        QString paragraphStyle;
        QString spanStyle;
        QString text;
        QStringList lists; // The list styles of the lists the paragraph is in.
        bool inParagraph = false;
        while (!reader.atEnd()) {
            reader.readNext();
            const QStringView name = reader.qualifiedName();
            const QXmlStreamAttributes attributes = reader.attributes();
            if (reader.isStartElement()) {
                if (name == u"style:style") {
                    style = attributes.value(QLatin1String("style:name")).toString();
                    family = attributes.value(QLatin1String("style:family")).toString();
                } else if (name == u"style:paragraph-properties" || name == u"style:text-properties") {
                    QHash<QString, QString> &properties = m_styles[family + QLatin1Char('/') + style];
                    for (const QXmlStreamAttribute &attribute : attributes)
                        properties.insert(attribute.qualifiedName().toString(), attribute.value().toString());
                } else if (name == u"style:page-layout") {
                    style = attributes.value(QLatin1String("style:name")).toString();
                } else if (name == u"style:page-layout-properties") {
                    for (const QXmlStreamAttribute &attribute : attributes)
                        m_pageLayouts[style].insert(attribute.qualifiedName().toString(), attribute.value().toString());
                } else if (name == u"style:master-page"
                           && attributes.value(QLatin1String("style:name")) == u"Standard") {
                    m_pageLayout = attributes.value(QLatin1String("style:page-layout-name")).toString();
                } else if (name == u"text:list-style") {
                    style = attributes.value(QLatin1String("style:name")).toString();
                } else if ((name == u"text:list-level-style-bullet" || name == u"text:list-level-style-number")
                           && attributes.value(QLatin1String("text:level")) == u"1") {
                    m_listKinds.insert(style,
                                       name.endsWith(u"bullet") ? QStringLiteral("bullet") : QStringLiteral("number"));
                } else if (name == u"text:list") {
                    lists.append(attributes.hasAttribute(QLatin1String("text:style-name"))
                                     ? attributes.value(QLatin1String("text:style-name")).toString()
                                     : lists.value(lists.size() - 1));
                } else if (name == u"text:p" || name == u"text:h") {
                    inParagraph = true;
                    paragraphStyle = attributes.value(QLatin1String("text:style-name")).toString();
                    text.clear();
                } else if (name == u"text:span") {
                    spanStyle = attributes.value(QLatin1String("text:style-name")).toString();
                }
            } else if (reader.isCharacters() && inParagraph) {
                text += reader.text();
                const QString weight = weightOf(spanStyle, paragraphStyle);
                for (const QString &word : reader.text().toString().split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    m_weights.insert(word, weight);
            } else if (reader.isEndElement()) {
                if (name == u"text:span") {
                    spanStyle.clear();
                } else if (name == u"text:list") {
                    lists.removeLast();
                } else if (name == u"text:p" || name == u"text:h") {
                    inParagraph = false;
                    QHash<QString, QString> properties = m_styles.value(QStringLiteral("paragraph/") + paragraphStyle);
                    if (!lists.isEmpty())
                        properties.insert(QStringLiteral("list"), m_listKinds.value(lists.last()));
                    m_paragraphs.insert(text, properties);
                }
            }
        }
        return !reader.hasError();
    }

    // The value an attribute has for the paragraph with the given text, or
    // for the page ("page"); "list" for the kind of list it is in.
    QString value(const QString &where, const QString &attribute) const
    {
        if (where == QLatin1String("page"))
            return m_pageLayouts.value(m_pageLayout).value(attribute);
        if (where.startsWith(QLatin1String("word ")))
            return m_weights.value(where.mid(5));
        return m_paragraphs.value(where).value(attribute);
    }

    bool hasParagraph(const QString &text) const { return m_paragraphs.contains(text); }

private:
    QString weightOf(const QString &spanStyle, const QString &paragraphStyle) const
    {
        const QString span =
            m_styles.value(QStringLiteral("text/") + spanStyle).value(QStringLiteral("fo:font-weight"));
        if (!span.isEmpty())
            return span;
        const QString paragraph =
            m_styles.value(QStringLiteral("paragraph/") + paragraphStyle).value(QStringLiteral("fo:font-weight"));
        return paragraph.isEmpty() ? QStringLiteral("normal") : paragraph;
    }

    QHash<QString, QHash<QString, QString>> m_styles; // By family and name.
    QHash<QString, QHash<QString, QString>> m_pageLayouts;
    QString m_pageLayout; // Of the standard page.
    QHash<QString, QString> m_listKinds;
    QHash<QString, QHash<QString, QString>> m_paragraphs;
    QHash<QString, QString> m_weights;
};

} // namespace

class TestRtfWriterInLibreOffice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void libreOfficeReads_data();
    void libreOfficeReads();

private:
    OpenDocumentReading m_reading;
};

void TestRtfWriterInLibreOffice::initTestCase()
{
    QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        QSKIP("LibreOffice is not installed (no soffice on PATH): what it reads of our RTF is not checked. "
              "Install libreoffice-writer-nogui to check it.");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir(dir.path()).mkpath(QStringLiteral("profile/user"));
    QFile profile(dir.filePath(QStringLiteral("profile/user/registrymodifications.xcu")));
    QVERIFY(profile.open(QIODevice::WriteOnly) && profile.write(kProfile) > 0);
    profile.close();

    QTextDocument document;
    TestDocuments::fillLayoutCases(document);
    QFile rtf(dir.filePath(QStringLiteral("cases.rtf")));
    QVERIFY(rtf.open(QIODevice::WriteOnly) && rtf.write(RtfWriter::write(document)) > 0);
    rtf.close();

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(office, {QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"),
                           QStringLiteral("-env:UserInstallation=")
                               + QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                           QStringLiteral("--convert-to"), QStringLiteral("fodt"), QStringLiteral("--outdir"),
                           dir.path(), rtf.fileName()});
    QVERIFY2(process.waitForFinished(180000), "LibreOffice did not finish converting within three minutes");
    const QByteArray output = process.readAll();
    QFile converted(dir.filePath(QStringLiteral("cases.fodt")));
    QVERIFY2(process.exitCode() == 0 && converted.open(QIODevice::ReadOnly), output.constData());
    QVERIFY(m_reading.read(converted.readAll()));
    QVERIFY2(m_reading.hasParagraph(QStringLiteral("Вторая страница")), "LibreOffice read none of the text");
}

void TestRtfWriterInLibreOffice::libreOfficeReads_data()
{
    QTest::addColumn<QString>("where"); // "page", a paragraph's text, or "word " and a word.
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QVariant>("expected"); // Twips (within 2) for lengths, else the text.
    const auto row = [](const QString &name, const QString &where, const QString &attribute, const QVariant &expected) {
        QTest::newRow(qPrintable(name)) << where << attribute << expected;
    };
    const QString page = QStringLiteral("page");

    // A4: 210 × 297 mm, margins of 20 mm, in twips.
    row(QStringLiteral("page width"), page, QStringLiteral("fo:page-width"), 11906);
    row(QStringLiteral("page height"), page, QStringLiteral("fo:page-height"), 16838);
    for (const QString &side :
         {QStringLiteral("top"), QStringLiteral("bottom"), QStringLiteral("left"), QStringLiteral("right")})
        row(QStringLiteral("page margin ") + side, page, QStringLiteral("fo:margin-") + side, 1134);

    row(QStringLiteral("page break"), QStringLiteral("Вторая страница"), QStringLiteral("fo:break-before"),
        QStringLiteral("page"));
    row(QStringLiteral("no page break"), QStringLiteral("Первая страница"), QStringLiteral("fo:break-before"),
        QString());

    const std::pair<QString, QString> weights[] = {
        {QStringLiteral("светлый"), QStringLiteral("normal")}, {QStringLiteral("обычный"), QStringLiteral("normal")},
        {QStringLiteral("средний"), QStringLiteral("normal")}, {QStringLiteral("полужирный"), QStringLiteral("bold")},
        {QStringLiteral("жирный"), QStringLiteral("bold")},    {QStringLiteral("чёрный"), QStringLiteral("bold")}};
    for (const auto &[word, weight] : weights)
        row(QStringLiteral("weight of ") + word, QStringLiteral("word ") + word, QString(), weight);

    // The item's text at its left margin, the marker in a hanging indent.
    const struct
    {
        QString item;
        QString list;
        int left;
        int first;
    } items[] = {{QStringLiteral("маркер один"), QStringLiteral("bullet"), 450, -360},
                 {QStringLiteral("маркер два"), QStringLiteral("bullet"), 450, -360},
                 {QStringLiteral("номер один"), QStringLiteral("number"), 600, -360},
                 {QStringLiteral("узкий отступ"), QStringLiteral("number"), 150, -150}};
    for (const auto &item : items) {
        row(item.item + QStringLiteral(": list"), item.item, QStringLiteral("list"), item.list);
        row(item.item + QStringLiteral(": left indent"), item.item, QStringLiteral("fo:margin-left"), item.left);
        row(item.item + QStringLiteral(": first line"), item.item, QStringLiteral("fo:text-indent"), item.first);
    }
}

void TestRtfWriterInLibreOffice::libreOfficeReads()
{
    QFETCH(QString, where);
    QFETCH(QString, attribute);
    QFETCH(QVariant, expected);
    const QString value = m_reading.value(where, attribute);
    if (expected.typeId() == QMetaType::Int) {
        const double read = twips(value);
        QVERIFY2(std::abs(read - expected.toInt()) <= 2,
                 qPrintable(QStringLiteral("LibreOffice reads %1 (%2 twips)").arg(value).arg(read)));
    } else {
        QCOMPARE(value, expected.toString());
    }
}

QTEST_MAIN(TestRtfWriterInLibreOffice)
#include "tst_RtfWriterInLibreOffice.moc"
