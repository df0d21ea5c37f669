#include "TestDocuments.h"
#include "TestFiles.h"

#include "richtext/EditorDocument.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

namespace {

// A template line: a bold red placeholder between plain words, then a table
// with placeholders in its cells.
QByteArray templateRtf()
{
    return TestDocuments::rtf("Dout = {\\b\\cf1 $Dout$} mm; Din = $Din$; $Qgr1$ $Qgr$\\par "
                              "\\trowd\\cellx2000\\cellx4000\\intbl $A$\\cell \\intbl $Din$\\cell\\row "
                              "\\pard tail $Din$.\\par ");
}

// Every occurrence of tag replaced as report building does it: search from
// the start, replace, search on after the inserted value.
void replaceTag(EditorDocument &doc, const QString &tag, const QString &value)
{
    int at = doc.findInDocument(tag, 0, doc.documentText().size());
    while (at >= 0) {
        doc.selectRange(at, tag.size());
        doc.replaceSelection(value);
        const int from = at + value.size();
        at = doc.findInDocument(tag, from, doc.documentText().size() - from);
    }
}

} // namespace

class TestEditorDocument : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    void loadTemplate(EditorDocument &doc)
    {
        const QString file = path("template.rtf");
        QVERIFY(TestFiles::write(file, templateRtf()));
        QVERIFY(doc.loadDocumentFile(file).ok());
    }

private Q_SLOTS:
    void startsUntitledAndEmpty()
    {
        EditorDocument doc;
        QCOMPARE(doc.documentName(), QStringLiteral("Без имени"));
        QVERIFY(doc.isUntitled());
        QVERIFY(!doc.isModified());
        QCOMPARE(doc.documentText(), QString());
        QCOMPARE(doc.defaultFont().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(doc.defaultFont().pointSize(), 8);
    }

    void fileNewDropsEverything()
    {
        EditorDocument doc;
        doc.setDocumentName(path("old.rtf"));
        QTextCursor(doc.textDocument()).insertText(QStringLiteral("несохранённый текст"));
        QVERIFY(doc.isModified());
        QSignalSpy names(&doc, &EditorDocument::documentNameChanged);
        doc.newDocument();
        QCOMPARE(doc.documentText(), QString());
        QCOMPARE(doc.documentName(), EditorDocument::untitledName());
        QCOMPARE(names.size(), 1);
        QVERIFY(!doc.isModified());
        // The former document cannot come back through undo.
        QVERIFY(!doc.textDocument()->isUndoAvailable());
    }

    void loadKeepsTheNameAndPutsTheCaretAtTheStart()
    {
        EditorDocument doc;
        QTextCursor(doc.textDocument()).insertText(QStringLiteral("прежний текст"));
        doc.selectRange(3, 4);
        loadTemplate(doc);
        QVERIFY(doc.documentText().startsWith(QStringLiteral("Dout = $Dout$ mm")));
        QCOMPARE(doc.documentName(), EditorDocument::untitledName());
        QCOMPARE(doc.selectionStart(), 0);
        QCOMPARE(doc.selectionLength(), 0);
        QVERIFY(!doc.textDocument()->isUndoAvailable());
    }

    void loadLaysOutFromTheStart()
    {
        // A view's caret rides along with the new text to its end; when the
        // document's caret goes to the start, the view asks where its own
        // was.  That must not lay out the whole new text: it is laid out
        // from its start, in steps, and the page size the view gave stays.
        EditorDocument doc;
        QTextDocument *text = doc.textDocument();
        QAbstractTextDocumentLayout *layout = text->documentLayout();
        text->setPageSize(QSizeF(500, -1));
        QTextCursor viewCaret(text);
        bool laidOutToTheEnd = false;
        connect(&doc, &EditorDocument::cursorChanged, this, [&] {
            layout->blockBoundingRect(viewCaret.block());
            laidOutToTheEnd = text->lastBlock().layout()->lineCount() > 0;
        });
        QByteArray many = "{\\rtf1 ";
        for (int i = 0; i < 3000; ++i)
            many += "paragraph " + QByteArray::number(i) + "\\par ";
        const QString file = path("many.rtf");
        QVERIFY(TestFiles::write(file, many + "}"));
        QVERIFY(doc.loadDocumentFile(file).ok());
        QCOMPARE(viewCaret.block(), text->lastBlock());
        QVERIFY(!laidOutToTheEnd);
        QCOMPARE(text->pageSize(), QSizeF(500, -1));
        QCOMPARE(doc.selectionStart(), 0);
        QVERIFY(text->firstBlock().layout()->lineCount() > 0);
        QCOMPARE(text->lastBlock().text(), QStringLiteral("paragraph 2999"));
    }

    void failedLoads_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("couldNotOpen");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "missing.rtf" << QByteArray() << true << "Cannot open file";
        QTest::newRow("folder") << "" << QByteArray() << true << "Cannot open file";
        QTest::newRow("neither RTF nor text")
            << "binary.rtf" << QByteArray("\x01\x00\x02\x00", 4) << false << "Failed to Load Stream";
    }

    void failedLoads()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(bool, couldNotOpen);
        QFETCH(QString, message);
        const QString target = file.isEmpty() ? m_dir.path() : m_dir.filePath(file);
        if (!content.isEmpty())
            QVERIFY(TestFiles::write(target, content));
        EditorDocument doc;
        QTextCursor(doc.textDocument()).insertText(QStringLiteral("остаётся"));
        const Result<> result = doc.loadDocumentFile(target);
        QVERIFY(!result.ok());
        QCOMPARE(EditorDocument::couldNotOpen(result), couldNotOpen);
        QVERIFY2(result.message().startsWith(message), qPrintable(result.message()));
        QCOMPARE(doc.documentText(), QStringLiteral("остаётся"));
        QVERIFY(doc.isModified());
    }

    void openAndSaveTakeTheName()
    {
        EditorDocument doc;
        loadTemplate(doc);
        const QString text = path("report.TXT");
        QVERIFY(doc.saveDocumentFile(text).ok());
        QCOMPARE(doc.documentName(), text);
        // Plain text, whatever the case of the extension.
        QVERIFY(!TestFiles::read(text).startsWith("{\\rtf"));
        QVERIFY(TestFiles::read(text).startsWith("Dout = $Dout$ mm"));

        EditorDocument other;
        QVERIFY(other.openDocumentFile(text).ok());
        QCOMPARE(other.documentName(), text);
        QVERIFY(!other.isModified());
        QVERIFY(other.documentText().startsWith(QStringLiteral("Dout = $Dout$ mm")));
    }

    void failedSaveKeepsNameAndMark()
    {
        EditorDocument doc;
        QTextCursor(doc.textDocument()).insertText(QStringLiteral("текст"));
        const QString target = path("no-such-folder/report.rtf");
        const Result<> result = doc.saveDocumentFile(target);
        QVERIFY(!result.ok());
        QVERIFY(result.message().startsWith(QStringLiteral("Cannot create file")));
        QVERIFY(doc.isUntitled());
        QVERIFY(doc.isModified());
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("expectedBefore"); // the text before the match, or "-" for none
        QTest::newRow("whole document") << "$Din$" << 0 << -1 << "Dout = $Dout$ mm; Din = ";
        QTest::newRow("from after the first") << "$Din$" << 25 << -1 << "in the table";
        QTest::newRow("range ends inside the match") << "$Din$" << 0 << 27 << "-";
        QTest::newRow("range ends with the match") << "$Din$" << 0 << 29 << "Dout = $Dout$ mm; Din = ";
        QTest::newRow("case-sensitive") << "$din$" << 0 << -1 << "-";
        QTest::newRow("not inside a longer placeholder")
            << "$Qgr$" << 0 << -1 << "Dout = $Dout$ mm; Din = $Din$; $Qgr1$ ";
        QTest::newRow("start past the end") << "$Din$" << 10000 << 5 << "-";
        QTest::newRow("negative start") << "$Din$" << -1 << 10 << "-";
        QTest::newRow("empty text") << "" << 0 << -1 << "-";
    }

    void find()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, expectedBefore);
        EditorDocument doc;
        loadTemplate(doc);
        const QString all = doc.documentText();
        const int found = doc.findInDocument(text, start, length < 0 ? all.size() - start : length);
        if (expectedBefore == QLatin1String("-")) {
            QCOMPARE(found, -1);
        } else if (expectedBefore == QLatin1String("in the table")) {
            // Positions agree with the plain text also inside table cells.
            QCOMPARE(found, all.indexOf(text, start));
            QVERIFY(doc.textDocument()->find(text, found).block().position() > 30);
        } else {
            QCOMPARE(all.left(found), expectedBefore);
        }
    }

    void selectRange_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("selectedStart");
        QTest::addColumn<int>("selectedLength");
        QTest::newRow("caret at the start") << 0 << 0 << 0 << 0;
        QTest::newRow("a word") << 7 << 6 << 7 << 6;
        QTest::newRow("past the end") << 5 << 100000 << 5 << -1;
        QTest::newRow("negative start") << -5 << 2 << 0 << 2;
        QTest::newRow("negative length") << 4 << -3 << 4 << 0;
    }

    void selectRange()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(int, selectedStart);
        QFETCH(int, selectedLength);
        EditorDocument doc;
        loadTemplate(doc);
        QSignalSpy moved(&doc, &EditorDocument::cursorChanged);
        doc.selectRange(start, length);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(doc.selectionStart(), selectedStart);
        QCOMPARE(doc.selectionLength(),
                 selectedLength < 0 ? doc.documentText().size() - selectedStart : selectedLength);
    }

    void replaceKeepsTheCharacterFormat()
    {
        EditorDocument doc;
        loadTemplate(doc);
        QVERIFY(!doc.isModified());
        replaceTag(doc, QStringLiteral("$Dout$"), QStringLiteral("0,315"));
        QVERIFY(doc.isModified());
        QVERIFY(doc.documentText().startsWith(QStringLiteral("Dout = 0,315 mm;")));
        const QTextCharFormat value = TestDocuments::formatAt(*doc.textDocument(), QStringLiteral("0,315"));
        QCOMPARE(value.fontWeight(), int(QFont::Bold));
        QCOMPARE(value.foreground().color(), QColor(Qt::red));
        // The neighbours keep theirs.
        const QTextCharFormat after = TestDocuments::formatAt(*doc.textDocument(), QStringLiteral(" mm"));
        QCOMPARE(after.fontWeight(), int(QFont::Normal));
        // Even when the selection was made backwards.
        QTextCursor backwards(doc.textDocument());
        const int at = doc.documentText().indexOf(QStringLiteral("0,315"));
        backwards.setPosition(at + 5);
        backwards.setPosition(at, QTextCursor::KeepAnchor);
        doc.setCursor(backwards);
        doc.replaceSelection(QStringLiteral("1"));
        QCOMPARE(TestDocuments::formatAt(*doc.textDocument(), QStringLiteral("1 mm")).fontWeight(), int(QFont::Bold));
        QCOMPARE(doc.selectionStart(), at + 1);
        QCOMPARE(doc.selectionLength(), 0);
    }

    void replaceEveryOccurrence_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three times, longer value")
            << "$Din$"
            << "0,290 (внутр.)"
            << "Dout = $Dout$ mm; Din = 0,290 (внутр.); $Qgr1$ $Qgr$\n$A$\t0,290 (внутр.)\ntail 0,290 (внутр.).";
        QTest::newRow("empty value") << "$Din$"
                                     << ""
                                     << "Dout = $Dout$ mm; Din = ; $Qgr1$ $Qgr$\n$A$\t\ntail .";
        QTest::newRow("value holds the tag")
            << "$Qgr$"
            << "[$Qgr$]"
            << "Dout = $Dout$ mm; Din = $Din$; $Qgr1$ [$Qgr$]\n$A$\t$Din$\ntail $Din$.";
        QTest::newRow("unknown tag") << "$Nope$"
                                     << "x"
                                     << "Dout = $Dout$ mm; Din = $Din$; $Qgr1$ $Qgr$\n$A$\t$Din$\ntail $Din$.";
    }

    void replaceEveryOccurrence()
    {
        QFETCH(QString, tag);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        EditorDocument doc;
        loadTemplate(doc);
        replaceTag(doc, tag, value);
        QCOMPARE(TestDocuments::text(*doc.textDocument()).trimmed(), expected);
    }

    void formatsOfTheSelectionOrOfTypedText()
    {
        EditorDocument doc;
        QTextCursor(doc.textDocument()).insertText(QStringLiteral("один два"));
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        // A selection: only the selected characters.
        doc.selectRange(0, 4);
        doc.mergeCurrentCharFormat(bold);
        QVERIFY(doc.currentFont().bold());
        QCOMPARE(TestDocuments::formatAt(*doc.textDocument(), QStringLiteral("один")).fontWeight(), int(QFont::Bold));
        QCOMPARE(TestDocuments::formatAt(*doc.textDocument(), QStringLiteral("два")).fontWeight(), int(QFont::Normal));
        // No selection: the text typed at the caret, nothing already there.
        doc.selectRange(8, 0);
        QTextCharFormat italic;
        italic.setFontItalic(true);
        doc.mergeCurrentCharFormat(italic);
        QVERIFY(doc.currentFont().italic());
        QTextCursor typing = doc.cursor();
        typing.insertText(QStringLiteral(" три"));
        QVERIFY(TestDocuments::formatAt(*doc.textDocument(), QStringLiteral("три")).fontItalic());
        QVERIFY(!TestDocuments::formatAt(*doc.textDocument(), QStringLiteral("два")).fontItalic());
        // Unformatted text shows the document's default font.
        doc.selectRange(5, 0);
        QCOMPARE(doc.currentFont().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(doc.currentFont().pointSize(), 8);
    }

    void indents_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::newRow("zero") << 0 << 0 << 0;
        QTest::newRow("first line indented") << 19 << -18 << 0;
        QTest::newRow("hanging") << 5 << 10 << 12;
        QTest::newRow("negative") << 0 << -3 << -7;
    }

    void indents()
    {
        QFETCH(int, first);
        QFETCH(int, left);
        QFETCH(int, right);
        EditorDocument doc;
        QTextCursor(doc.textDocument()).insertText(QStringLiteral("первый\nвторой\nтретий"));
        doc.selectRange(2, 8); // the first two paragraphs
        doc.setFirstIndent(first);
        doc.setLeftIndent(left);
        doc.setRightIndent(right);
        const EditorDocument::Indents set = doc.indents();
        QCOMPARE(set.first, first);
        QCOMPARE(set.left, left);
        QCOMPARE(set.right, right);
        // In the document: the first line at first, the others at first + left.
        const QTextBlockFormat second = doc.textDocument()->findBlockByNumber(1).blockFormat();
        QCOMPARE(second.leftMargin() + second.textIndent(), EditorDocument::unitsFromPoints(first));
        QCOMPARE(second.leftMargin(), EditorDocument::unitsFromPoints(first + left));
        QCOMPARE(second.rightMargin(), EditorDocument::unitsFromPoints(right));
        QCOMPARE(doc.textDocument()->findBlockByNumber(2).blockFormat().leftMargin(), 0.0);
        // Setting the first indent keeps each paragraph's offset.
        doc.setFirstIndent(first + 3);
        QCOMPARE(doc.indents().left, left);
    }

    void bullets_data()
    {
        QTest::addColumn<int>("leftBefore");
        QTest::addColumn<int>("leftWithBullets");
        QTest::newRow("raised to 10") << 4 << 10;
        QTest::newRow("kept when larger") << 24 << 24;
    }

    void bullets()
    {
        QFETCH(int, leftBefore);
        QFETCH(int, leftWithBullets);
        EditorDocument doc;
        QTextCursor(doc.textDocument()).insertText(QStringLiteral("первый\nвторой"));
        doc.selectRange(0, 10);
        doc.setFirstIndent(leftBefore);
        doc.setBullets(true);
        QVERIFY(doc.hasBullets());
        QTextBlock second = doc.textDocument()->findBlockByNumber(1);
        QVERIFY(second.textList());
        QCOMPARE(second.textList(), doc.textDocument()->begin().textList());
        QCOMPARE(second.textList()->format().style(), QTextListFormat::ListDisc);
        QCOMPARE(doc.indents().first, leftWithBullets);
        QCOMPARE(doc.indents().left, 0);
        doc.setBullets(false);
        QVERIFY(!doc.hasBullets());
        QVERIFY(!doc.textDocument()->findBlockByNumber(1).textList());
        QCOMPARE(doc.indents().first, 0);
        // Each change is one step to undo.
        doc.textDocument()->undo();
        QVERIFY(doc.textDocument()->findBlockByNumber(1).textList());
    }
};

QTEST_MAIN(TestEditorDocument)
#include "tst_EditorDocument.moc"
