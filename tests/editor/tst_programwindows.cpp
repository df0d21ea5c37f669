#include "app/FakeDialogs.h"

#include "app/MainUnit.h"
#include "app/ProgramWindows.h"
#include "editor/RichEditControl.h"
#include "editor/TFormEditorUi.h"
#include "editor/remain.h"
#include "model/NumberFormat.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

// A key press as the keyboard delivers it, for keys QTest does not name.
void typeKey(QWidget *w, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

} // namespace

class TestProgramWindows : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString settingsPath() const { return m_dir.filePath(QStringLiteral("pipecalc.ini")); }

    static void showEditor(ProgramWindows &w)
    {
        w.main().show();
        QVERIFY(QTest::qWaitForWindowActive(&w.main()));
        w.editor().ShowEditor();
        QVERIFY(QTest::qWaitForWindowActive(&w.editor()));
    }

private Q_SLOTS:
    void init()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
    }

    void startsWithTheEditorHidden()
    {
        FakeDialogs dialogs;
        ProgramWindows w(settingsPath());
        QVERIFY(!w.editor().isVisible());
        QVERIFY(!w.editor().testAttribute(Qt::WA_QuitOnClose));
        QCOMPARE(w.editor().document().documentName(), QStringLiteral("Безымянный"));
    }

    void letterKeysInTheEditor_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("calculates");
        QTest::newRow("document, russian с") << "document" << 0x0421 << "с" << false;
        QTest::newRow("document, latin c") << "document" << int(Qt::Key_C) << "c" << false;
        QTest::newRow("font size box") << "size" << int(Qt::Key_C) << "c" << false;
        QTest::newRow("font name box") << "name" << 0x0421 << "с" << false;
        QTest::newRow("toolbar button") << "button" << 0x0421 << "с" << true;
        QTest::newRow("toolbar button, latin") << "button" << int(Qt::Key_C) << "c" << true;
    }

    void letterKeysInTheEditor()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, calculates);
        FakeDialogs dialogs;
        ProgramWindows w(settingsPath());
        showEditor(w);
        const TFormEditorUi &ui = w.editor().widgets();
        QWidget *target = ui.Editor;
        if (focus == QLatin1String("size"))
            target = ui.FontSize;
        else if (focus == QLatin1String("name"))
            target = ui.FontName;
        else if (focus == QLatin1String("button"))
            target = ui.StandardToolBar->widgetForAction(ui.BoldButton);
        target->setFocus();
        QCOMPARE(QApplication::focusWidget(), target);
        typeKey(target, key, text);
        QCOMPARE(w.main().CalculationDone, calculates);
        if (focus == QLatin1String("document")) {
            QCOMPARE(w.editor().document().DocumentText(), text);
            QVERIFY(w.editor().document().isModified());
        }
    }

    void endingTheProgramAsksAboutTheReport_data()
    {
        QTest::addColumn<bool>("editorShown");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("ends");
        QTest::newRow("cancel") << true << true << QMessageBox::Cancel << true << false;
        QTest::newRow("no") << true << true << QMessageBox::No << true << true;
        QTest::newRow("not modified") << true << false << QMessageBox::Cancel << false << true;
        // Hidden, the editor asked already when it was closed.
        QTest::newRow("editor closed") << false << true << QMessageBox::Cancel << false << true;
    }

    void endingTheProgramAsksAboutTheReport()
    {
        QFETCH(bool, editorShown);
        QFETCH(bool, modified);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, asked);
        QFETCH(bool, ends);
        QFile::remove(settingsPath());
        FakeDialogs dialogs;
        ProgramWindows w(settingsPath());
        showEditor(w);
        if (modified)
            QTest::keyClicks(w.editor().widgets().Editor, "1");
        if (!editorShown) {
            dialogs.answer = QMessageBox::No;
            QVERIFY(w.editor().close());
            dialogs.questions.clear();
        }
        dialogs.answer = answer;
        QCOMPARE(w.main().close(), ends);
        QCOMPARE(dialogs.questions.size(), asked ? 1 : 0);
        QCOMPARE(w.main().isVisible(), !ends);
        // Nothing is written for a close that did not happen.
        QCOMPARE(QFileInfo::exists(settingsPath()), ends);
    }

    void altXClosesOnlyTheEditor()
    {
        FakeDialogs dialogs;
        ProgramWindows w(settingsPath());
        showEditor(w);
        QSignalSpy programExit(w.main().ActionExit, &QAction::triggered);
        QTest::keyClick(w.editor().widgets().Editor, Qt::Key_X, Qt::AltModifier);
        QVERIFY(!w.editor().isVisible());
        QCOMPARE(programExit.size(), 0);
        QVERIFY(w.main().isVisible());
    }
};

QTEST_MAIN(TestProgramWindows)
#include "tst_programwindows.moc"
