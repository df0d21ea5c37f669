#include "app/FakeDialogs.h"
#include "TestFiles.h"

#include "app/WindowPlacement.h"
#include "app/IniFile.h"
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "calc/CalcSession.h"
#include "editor/ReportTextEdit.h"
#include "editor/ReportEditorWidgets.h"
#include "editor/ReportEditor.h"
#include "model/NumberFormat.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

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
        w.editor().showEditor();
        QVERIFY(QTest::qWaitForWindowActive(&w.editor()));
    }

private Q_SLOTS:
    void init() { NumberFormat::setDecimalSeparator(QStringLiteral(",")); }

    void startsWithTheEditorHidden()
    {
        FakeDialogs dialogs;
        ProgramWindows w(settingsPath());
        QVERIFY(!w.editor().isVisible());
        // Closed last, it ends the program: none runs without a window.
        QVERIFY(w.editor().testAttribute(Qt::WA_QuitOnClose));
        QCOMPARE(w.editor().document().documentName(), QStringLiteral("Без имени"));
    }

    void fileNamedAtStart_data()
    {
        QTest::addColumn<QString>("name");    // "@..." is made in the temporary folder
        QTest::addColumn<QString>("problem"); // empty: opened in the editor
        QTest::newRow("a report") << "@report.rtf" << QString();
        QTest::newRow("missing") << "@missing.rtf"
                                 << "No such file or directory";
        QTest::newRow("unreadable") << "@unreadable.rtf"
                                    << "Permission denied";
        QTest::newRow("an endless device") << "/dev/zero"
                                           << "Это не обычный файл";
        QTest::newRow("a FIFO") << "@fifo.rtf"
                                << "Это не обычный файл";
        QTest::newRow("a project that is a FIFO") << "@fifo.pipecalc"
                                                  << "это не обычный файл";
    }

    // "pipecalc FILE": a file that cannot be opened is said once the main
    // window is up, at once (a FIFO is not waited for), and the program
    // carries on.
    void fileNamedAtStart()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        if (name.startsWith(QLatin1Char('@'))) {
            name = m_dir.filePath(name.mid(1));
            QFile::remove(name);
            if (name.contains(QLatin1String("fifo")))
                QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
            else if (!name.contains(QLatin1String("missing")))
                QVERIFY(TestFiles::write(name, "{\\rtf1 Отчёт}"));
            if (name.contains(QLatin1String("unreadable"))) {
                if (::geteuid() == 0)
                    QSKIP("Root reads any file; pipecalc-cli's table checks permissions as an ordinary user");
                QVERIFY(QFile::setPermissions(name, QFile::WriteOwner));
            }
        }
        FakeDialogs dialogs;
        ProgramWindows w(settingsPath());
        w.showAtStart(name);
        QVERIFY(QTest::qWaitForWindowExposed(&w.main()));
        QTRY_COMPARE(dialogs.errors.size() + dialogs.messages.size(), problem.isEmpty() ? 0 : 1);
        QCOMPARE(w.editor().isVisible(), problem.isEmpty());
        if (problem.isEmpty()) {
            QCOMPARE(w.editor().document().documentName(), name);
            return;
        }
        const QString said = dialogs.errors.value(0) + dialogs.messages.value(0);
        QVERIFY2(said.contains(name) && said.contains(problem), qPrintable(said));
        QVERIFY(w.main().isVisible());
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
        const QWidget &ui = w.editor();
        QWidget *target = part<ReportTextEdit>(ui, "richEdit");
        if (focus == QLatin1String("size"))
            target = part<QComboBox>(ui, "fontSizeBox");
        else if (focus == QLatin1String("name"))
            target = part<QComboBox>(ui, "fontNameBox");
        else if (focus == QLatin1String("button"))
            target = part<QToolBar>(ui, "standardToolBar")->widgetForAction(part<QAction>(ui, "boldAction"));
        target->setFocus();
        QCOMPARE(QApplication::focusWidget(), target);
        typeKey(target, key, text);
        QCOMPARE(w.main().session().resultsCurrent(), calculates);
        if (focus == QLatin1String("document")) {
            QCOMPARE(w.editor().document().documentText(), text);
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
            QTest::keyClicks(part<ReportTextEdit>(w.editor(), "richEdit"), "1");
        if (!editorShown) {
            dialogs.answer = QMessageBox::No;
            QVERIFY(w.editor().close());
            dialogs.questions.clear();
        }
        dialogs.answer = answer;
        QCOMPARE(w.main().close(), ends);
        // One question, asked once: the editor closes with the main window
        // without asking again, and the program ends; Cancel keeps both.
        QCOMPARE(dialogs.questions.size(), asked ? 1 : 0);
        QCOMPARE(w.main().isVisible(), !ends);
        QCOMPARE(w.editor().isVisible(), editorShown && !ends);
        int shown = 0;
        for (const QWidget *window : QApplication::topLevelWidgets())
            shown += window->isVisible() ? 1 : 0;
        QCOMPARE(shown, ends ? 0 : (editorShown ? 2 : 1));
        // Nothing is written for a close that did not happen.
        QCOMPARE(QFileInfo::exists(settingsPath()), ends);
    }

    void editorKeepsItsPlacement_data()
    {
        QTest::addColumn<bool>("closedFirst");
        QTest::newRow("closed, then the program ends") << true;
        QTest::newRow("open when the program ends") << false;
    }

    void editorKeepsItsPlacement()
    {
        QFETCH(bool, closedFirst);
        QFile::remove(settingsPath());
        // Within the test screen (800 by 600).
        const QRect placed(40, 30, 720, 520);
        {
            FakeDialogs dialogs;
            ProgramWindows w(settingsPath());
            showEditor(w);
            w.editor().setGeometry(placed);
            QTRY_COMPARE(w.editor().geometry(), placed);
            if (closedFirst) {
                QVERIFY(w.editor().close());
                w.editor().move(0, 0); // moved while hidden: not kept
            }
        }
        IniFile ini(settingsPath());
        QVERIFY(ini.load());
        QCOMPARE(ini.value(QStringLiteral("Editor"), QStringLiteral("NormPos")), QStringLiteral("40,30,760,550"));

        FakeDialogs dialogs;
        ProgramWindows again(settingsPath());
        QCOMPARE(again.editor().geometry(), placed);
    }

    void placementOffTheScreenComesBack()
    {
        QFile::remove(settingsPath());
        const QScreen *screen = QGuiApplication::primaryScreen();
        IniFile ini(settingsPath());
        WindowPlacement stored;
        stored.normalBounds = QRect(5000, -3000, 100000, 700);
        stored.save(ini, QStringLiteral("Editor"), qRound(screen->logicalDotsPerInch()), screen->size());
        QVERIFY(ini.save().ok());
        FakeDialogs dialogs;
        ProgramWindows w(settingsPath());
        QVERIFY(screen->availableGeometry().contains(w.editor().geometry()));
    }

    void altXClosesOnlyTheEditor()
    {
        FakeDialogs dialogs;
        ProgramWindows w(settingsPath());
        showEditor(w);
        QSignalSpy programExit(part<QAction>(w.main(), "exitAction"), &QAction::triggered);
        QTest::keyClick(part<ReportTextEdit>(w.editor(), "richEdit"), Qt::Key_X, Qt::AltModifier);
        QVERIFY(!w.editor().isVisible());
        QCOMPARE(programExit.size(), 0);
        QVERIFY(w.main().isVisible());
    }

    void editorDialogsStartWhereTheLastReportWas_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("remembered");
        QTest::newRow("opened") << "open" << true;
        QTest::newRow("saved as") << "save" << true;
        QTest::newRow("open cancelled") << "cancel" << false;
        QTest::newRow("open failed") << "open missing" << false;
        QTest::newRow("save failed") << "save missing" << false;
    }

    void editorDialogsStartWhereTheLastReportWas()
    {
        QFETCH(QString, command);
        QFETCH(bool, remembered);
        FakeDialogs dialogs;
        dialogs.answer = QMessageBox::Yes;
        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("pipecalc.ini"));
        const QString reports = dir.filePath(QStringLiteral("отчёты"));
        QVERIFY(QDir().mkpath(reports));
        const bool fails = command.endsWith(QLatin1String("missing"));
        const QString file = reports + (fails ? "/нет/отчёт.rtf" : "/отчёт.rtf");
        // The tests run beside the build's resources, as a portable program.
        const QString firstStart = QCoreApplication::applicationDirPath();
        {
            ProgramWindows w(settings);
            QCOMPARE(w.editor().dialogFolder(), firstStart);
            if (command.startsWith(QLatin1String("open"))) {
                QFile out(file);
                if (out.open(QIODevice::WriteOnly))
                    out.write("{\\rtf1 Отчёт}");
                out.close();
                dialogs.openName = file;
                part<QAction>(w.editor(), "openAction")->trigger();
            } else if (command.startsWith(QLatin1String("save"))) {
                dialogs.saveName = file;
                part<QAction>(w.editor(), "saveAsAction")->trigger();
            } else {
                part<QAction>(w.editor(), "openAction")->trigger();
            }
            QCOMPARE(dialogs.errors.isEmpty(), !fails);
        }
        ProgramWindows again(settings);
        dialogs.openName.clear();
        part<QAction>(again.editor(), "openAction")->trigger();
        QCOMPARE(dialogs.lastDir, remembered ? reports : firstStart);
    }

    void editorFolderGoneStartsAsAtFirst()
    {
        FakeDialogs dialogs;
        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("pipecalc.ini"));
        QFile file(settings);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Editor]\nDialogFolder=" + dir.filePath(QStringLiteral("gone")).toUtf8() + "\n");
        file.close();
        ProgramWindows w(settings);
        QCOMPARE(w.editor().dialogFolder(), QCoreApplication::applicationDirPath());
    }
};

QTEST_MAIN(TestProgramWindows)
#include "tst_programwindows.moc"
