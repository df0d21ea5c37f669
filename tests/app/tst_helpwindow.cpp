// The user's guide in the program's help window: chapters, contents, back
// and forward, search; F1 opens it at the chapter of the window asked from.
#include "FakeDialogs.h"
#include "TestFiles.h"

#include "app/HelpLauncher.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "editor/ReportTextEdit.h"
#include "editor/ReportEditor.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

namespace {

// A guide of chapters longer than the window shows at once.
QByteArray guideText()
{
    const QString filler = QStringLiteral("<p>Абзац для объёма.</p>").repeated(60);
    return QStringLiteral(
               R"(<!DOCTYPE html><html lang="ru"><head><meta charset="utf-8"><title>Руководство</title></head>
<body><h1>Руководство</h1>
<p><a href="#second">ко второй главе</a></p>%1
<h2 id="first">Первая глава</h2><p>Текст первой главы. Слово трубопровод.</p>%1
<h3>Раздел без имени</h3><p>Раздел первой главы.</p>%1
<h2 id="second">Вторая глава</h2><p>Ещё раз трубопровод.</p>%1
<h2 id="editor">Редактор отчётов</h2><p>Глава о редакторе.</p>%1
</body></html>)")
        .arg(filler)
        .toUtf8();
}

QStringList topLevel(const QTreeWidget *tree)
{
    QStringList items;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        items << tree->topLevelItem(i)->text(0);
    return items;
}

// The heading at the top of the browser's view.
QString headingShown(QTextBrowser *browser)
{
    const QTextCursor at = browser->cursorForPosition(QPoint(4, 4));
    for (QTextBlock block = at.block(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0)
            return block.text();
    }
    return QString();
}

} // namespace

class TestHelpWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString guide() const { return m_dir.filePath(QStringLiteral("index.html")); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(TestFiles::write(guide(), guideText())); }

    void chaptersContentsAndHistory()
    {
        HelpWindow help;
        help.showGuide(guide(), QStringLiteral("editor"));
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QCOMPARE(help.browser()->source().fragment(), QStringLiteral("editor"));
        QCOMPARE(headingShown(help.browser()), QStringLiteral("Редактор отчётов"));
        // The chapters and, under them, their sections.
        QCOMPARE(topLevel(help.contents()), (QStringList{"Первая глава", "Вторая глава", "Редактор отчётов"}));
        QCOMPARE(help.contents()->topLevelItem(0)->child(0)->text(0), QStringLiteral("Раздел без имени"));

        // A chapter from the contents, then back and forward.
        QVERIFY(!help.backAction()->isEnabled());
        help.contents()->itemClicked(help.contents()->topLevelItem(0), 0);
        QCOMPARE(headingShown(help.browser()), QStringLiteral("Первая глава"));
        QVERIFY(help.backAction()->isEnabled());
        help.backAction()->trigger();
        QCOMPARE(help.browser()->source().fragment(), QStringLiteral("editor"));
        QVERIFY(help.forwardAction()->isEnabled());
        help.forwardAction()->trigger();
        QCOMPARE(help.browser()->source().fragment(), QStringLiteral("first"));
        // A section without a name of its own is shown too.
        help.contents()->itemClicked(help.contents()->topLevelItem(0)->child(0), 0);
        QCOMPARE(headingShown(help.browser()), QStringLiteral("Раздел без имени"));
        // The start of the guide.
        help.homeAction()->trigger();
        QCOMPARE(help.browser()->source().fragment(), QString());
        QCOMPARE(help.browser()->verticalScrollBar()->value(), 0);
    }

    void searchOfTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found"); // the headings the finds lie under, in turn
        QTest::newRow("twice, round to the start")
            << "трубопровод" << QStringList{"Первая глава", "Вторая глава", "Первая глава"};
        QTest::newRow("in another case") << "ГЛАВА О РЕДАКТОРЕ" << QStringList{"Редактор отчётов"};
        QTest::newRow("nowhere") << "насос" << QStringList{};
    }

    void searchOfTheText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        HelpWindow help;
        help.showGuide(guide());
        help.searchBox()->setText(text);
        for (const QString &heading : found) {
            QTest::keyClick(help.searchBox(), Qt::Key_Return);
            const QTextCursor selected = help.browser()->textCursor();
            QCOMPARE(selected.selectedText().toLower(), text.toLower());
            QTextBlock block = selected.block();
            while (block.isValid() && block.blockFormat().headingLevel() == 0)
                block = block.previous();
            QCOMPARE(block.text(), heading);
            QCOMPARE(help.searchMessage(), QString());
        }
        if (found.isEmpty()) {
            QVERIFY(!help.findNext());
            QVERIFY(!help.browser()->textCursor().hasSelection());
            QCOMPARE(help.searchMessage(), QStringLiteral("Текст «насос» в руководстве не найден."));
        }
    }

    // F1 released in a window opens the guide beside the program, at that
    // window's chapter; the guide laid out beside the test has the editor's.
    void f1OpensTheChapterOfTheWindow()
    {
        FakeDialogs dialogs;
        QList<QUrl> opened;
        HelpLauncher::setOpener([&](const QUrl &url) { opened << url; });
        const QString file = HelpLauncher::helpFile(QCoreApplication::applicationFilePath());
        if (file.isEmpty())
            QSKIP("the guide is not laid out beside the tests");
        ProgramWindows w(m_dir.filePath(QStringLiteral("pipecalc.ini")));
        w.main().show();
        QVERIFY(QTest::qWaitForWindowActive(&w.main()));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w.main(), Qt::Key_F1);
        w.editor().showEditor();
        QVERIFY(QTest::qWaitForWindowActive(&w.editor()));
        QTest::keyClick(part<ReportTextEdit>(w.editor(), "richEdit"), Qt::Key_F1);
        HelpLauncher::setOpener({});
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0].toLocalFile(), file);
        QCOMPARE(opened[0].fragment(), QString());
        QCOMPARE(opened[1].fragment(), QStringLiteral("editor"));

        // The real guide, in the real window, at the editor's chapter.
        HelpLauncher::open(QCoreApplication::applicationFilePath(), QStringLiteral("editor"));
        HelpWindow *help = HelpLauncher::window();
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QCOMPARE(headingShown(help->browser()), QStringLiteral("Редактор отчётов"));
        HelpLauncher::closeWindow();
        QVERIFY(!HelpLauncher::window());
    }

    // Help asked for while a modal dialog is up comes in front of it and
    // takes the input; closed with Esc, it leaves the dialog as it was, and
    // asked for again without one it is an ordinary window.
    void helpOverAModalDialog()
    {
        QDialog dialog;
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        HelpLauncher::open(QCoreApplication::applicationFilePath(), QString());
        HelpWindow *help = HelpLauncher::window();
        if (!help)
            QSKIP("the guide is not laid out beside the tests");
        QVERIFY(QTest::qWaitForWindowActive(help));
        QCOMPARE(QApplication::activeModalWidget(), help);
        // Usable: the search box takes what is typed.
        help->searchBox()->setFocus();
        QTest::keyClicks(help->searchBox(), "pipe");
        QCOMPARE(help->searchBox()->text(), QStringLiteral("pipe"));
        QTest::keyClick(help->browser(), Qt::Key_Escape);
        QVERIFY(!help->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), &dialog);
        QVERIFY(dialog.isVisible());
        dialog.close();
        HelpLauncher::open(QCoreApplication::applicationFilePath(), QString());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QCOMPARE(help->windowModality(), Qt::NonModal);
        HelpLauncher::closeWindow();
    }

    void helpFileWithoutAGuide()
    {
        QTemporaryDir bare;
        const QString exe = bare.filePath(QStringLiteral("pipecalc"));
        QCOMPARE(HelpLauncher::helpFile(exe), QString());
        // A compiled help file is only for want of the guide.
        QVERIFY(TestFiles::write(exe + QStringLiteral(".chm"), "ITSF"));
        QCOMPARE(HelpLauncher::helpFile(exe), exe + QStringLiteral(".chm"));
        QDir(bare.path()).mkpath(QStringLiteral("help"));
        QVERIFY(TestFiles::write(bare.filePath(QStringLiteral("help/index.html")), "<html></html>"));
        QCOMPARE(HelpLauncher::helpFile(exe), bare.filePath(QStringLiteral("help/index.html")));
    }
};

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"
