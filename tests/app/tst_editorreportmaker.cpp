// The report command in the running program: the report is built in the
// editor's document from the template beside the program and the editor is
// shown.
#include "FakeDialogs.h"
#include "SqliteFixture.h"

#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "calc/CalcSession.h"
#include "editor/ReportPrinter.h"
#include "editor/ReportTextEdit.h"
#include "editor/ReportEditorWidgets.h"
#include "editor/ReportEditor.h"
#include "model/NumberFormat.h"
#include "reports/ReportTemplates.h"
#include "richtext/DocumentFile.h"
#include "richtext/EditorDocument.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

class TestEditorReportMaker : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString settings() const { return m_dir.filePath(QStringLiteral("pipecalc.ini")); }
    QString base() const { return m_dir.filePath(QStringLiteral("Base")); }

    static QString text(ProgramWindows &w) { return w.editor().document().documentText(); }

private Q_SLOTS:
    void init()
    {
        NumberFormat::setDecimalSeparator(QStringLiteral(","));
        QFile::remove(settings());
        QDir().mkpath(base());
        QVERIFY(SqliteFixture::create(base() + QStringLiteral("/data.sqlite"), SqliteFixture::referenceSql()));
        ReportTemplates::setFolder(QString());
    }

    void hydraulicReport()
    {
        FakeDialogs dialogs;
        ProgramWindows w(settings(), base());
        MainWindow &main = w.main();
        part<QAction>(main, "runAction")->trigger();
        part<QAction>(main, "reportAction")->trigger();
        QVERIFY(w.editor().isVisible());
        QCOMPARE(w.report().title(), QStringLiteral("Гидравлический расчёт трубопровода Велтра-Норлекс"));
        EditorDocument &doc = w.editor().document();
        QVERIFY(text(w).contains(QStringLiteral("303,6")));
        QVERIFY(!text(w).contains(QLatin1Char('$')));
        QCOMPARE(doc.documentName(), QStringLiteral("Без имени"));
        // Nothing of the user's to lose yet.
        QVERIFY(!doc.isModified());
        QCOMPARE(doc.selectionStart(), 0);
        QCOMPARE(doc.selectionLength(), 0);
        QVERIFY(dialogs.messages.isEmpty() && dialogs.errors.isEmpty());
        // Undo has nothing to take back: the filled template is where it starts.
        const QString built = text(w);
        QTest::keyClick(part<ReportTextEdit>(w.editor(), "richEdit"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(w), built);
        QVERIFY(!w.editor().hasUserChanges());
    }

    void staticReportNamesTheChoices()
    {
        FakeDialogs dialogs;
        ProgramWindows w(settings(), base());
        MainWindow &main = w.main();
        part<QAction>(main, "staticAction")->trigger();
        main.vars().selectedSoilId = 4;
        main.vars().selectedMaterialId = 1;
        part<QAction>(main, "runAction")->trigger();
        part<QAction>(main, "reportAction")->trigger();
        QCOMPARE(w.report().title(), QStringLiteral("Статический расчёт трубопровода Велтра-Норлекс"));
        QVERIFY(text(w).contains(QStringLiteral("Песок мелкий")));
        QVERIFY(text(w).contains(QStringLiteral("Полиэтилен ПЭ 100")));
        QVERIFY(text(w).contains(QStringLiteral("0,6589")));
        QVERIFY(!text(w).contains(QLatin1Char('$')));
    }

    void fiberglassReportCalculatesAfresh()
    {
        FakeDialogs dialogs;
        ProgramWindows w(settings(), base());
        MainWindow &main = w.main();
        part<QAction>(main, "staticAction")->trigger();
        main.vars().selectedMaterialId = 4;
        main.updateFiberglassOptions();
        // No calculation was run before: the report command runs it.
        part<QAction>(main, "reportAction")->trigger();
        QVERIFY(main.session().resultsCurrent(CalcKind::Fiberglass));
        QCOMPARE(w.report().title(), QStringLiteral("Статический расчёт стеклопластикового трубопровода"));
        QVERIFY(text(w).contains(QStringLiteral("SN 5000")));
        QVERIFY(text(w).contains(QStringLiteral("траншейный")));
        QVERIFY(text(w).contains(QStringLiteral("117600")));
        QVERIFY(!text(w).contains(QLatin1Char('$')));
    }

    void aNewReportAsksAboutTheUsersEdits_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<bool>("saved");
        using B = QMessageBox::StandardButton;
        QTest::newRow("report as built: replaced, nothing asked") << false << B::Cancel << false << true << false;
        QTest::newRow("edited, cancel: the edits stay") << true << B::Cancel << true << false << false;
        QTest::newRow("edited, no: replaced") << true << B::No << true << true << false;
        QTest::newRow("edited, yes: saved first") << true << B::Yes << true << true << true;
    }

    void aNewReportAsksAboutTheUsersEdits()
    {
        QFETCH(bool, edited);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, asked);
        QFETCH(bool, replaced);
        QFETCH(bool, saved);
        const QString savedFile = m_dir.filePath(QStringLiteral("edited.rtf"));
        QFile::remove(savedFile);
        FakeDialogs dialogs;
        dialogs.saveName = savedFile;
        ProgramWindows w(settings(), base());
        MainWindow &main = w.main();
        part<QAction>(main, "runAction")->trigger();
        part<QAction>(main, "reportAction")->trigger();
        if (edited) {
            w.editor().document().selectRange(0, 0);
            w.editor().document().replaceSelection(QStringLiteral("Правка инженера. "));
        }
        dialogs.answer = answer;
        part<QAction>(main, "reportAction")->trigger();
        QCOMPARE(dialogs.questions.size(), asked ? 1 : 0);
        QCOMPARE(text(w).contains(QStringLiteral("Правка инженера.")), edited && !replaced);
        QVERIFY(text(w).contains(QStringLiteral("303,6")));
        QCOMPARE(QFileInfo::exists(savedFile), saved);
        if (saved) {
            QTextDocument file;
            QVERIFY(DocumentFile::load(savedFile, file).ok());
            QVERIFY(file.toPlainText().startsWith(QStringLiteral("Правка инженера.")));
            // The new report is a new, unnamed document.
            QCOMPARE(w.editor().document().documentName(), QStringLiteral("Без имени"));
        }
    }

    void missingTemplate()
    {
        FakeDialogs dialogs;
        QTemporaryDir empty;
        ReportTemplates::setFolder(empty.path());
        ProgramWindows w(settings(), base());
        w.editor().document().selectRange(0, 0);
        w.editor().document().replaceSelection(QStringLiteral("прежний текст"));
        part<QAction>(w.main(), "runAction")->trigger();
        part<QAction>(w.main(), "reportAction")->trigger();
        QCOMPARE(dialogs.messages, QStringList{"Не могу открыть файл шаблона отчёта."});
        QVERIFY(!w.editor().isVisible());
        // A report that could not be made takes nothing from the editor.
        QCOMPARE(text(w), QStringLiteral("прежний текст"));
        ReportTemplates::setFolder(QString());
    }

    void databaseGoneDuringTheReport()
    {
        FakeDialogs dialogs;
        ProgramWindows w(settings(), m_dir.filePath(QStringLiteral("nowhere")));
        MainWindow &main = w.main();
        part<QAction>(main, "staticAction")->trigger();
        part<QAction>(main, "runAction")->trigger();
        part<QAction>(main, "reportAction")->trigger();
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY(dialogs.errors.first().endsWith(QLatin1Char('.')));
        QVERIFY(!w.editor().isVisible());
    }
};

QTEST_MAIN(TestEditorReportMaker)
#include "tst_editorreportmaker.moc"
