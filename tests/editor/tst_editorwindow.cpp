#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "app/FakeDialogs.h"
#include "richtext/TestDocuments.h"

#include "editor/EditorRuler.h"
#include "editor/ReportTextEdit.h"
#include "editor/RulerMarker.h"
#include "editor/StepArrows.h"
#include "editor/ReportEditor.h"
#include "reports/ReportPage.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QAbstractItemView>
#include <QActionGroup>
#include <QClipboard>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QtMath>
#include <QtTest>

namespace {

// RTF for text: letters beyond ASCII as \uN?.
QByteArray rtfText(const QString &text)
{
    QByteArray out;
    for (const QChar ch : text)
        out += ch.unicode() < 128 ? QByteArray(1, char(ch.unicode())) : "\\u" + QByteArray::number(ch.unicode()) + '?';
    return out;
}

// Two paragraphs: "Обычный " then a bold word, and a centred one in 14 points.
QByteArray sampleRtf()
{
    return TestDocuments::rtf(
        rtfText(QStringLiteral("Обычный {\\b жирный} текст\\par \\pard\\qc\\fs28 Второй абзац\\par ")));
}

QStringList captions(const QList<QAction *> &actions)
{
    QStringList out;
    for (const QAction *action : actions)
        out << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return out;
}

// What the toolbar shows, left to right: hints of buttons and boxes, "|" for
// a divider and "_" for a gap.
QStringList toolbarHints(const QToolBar *bar)
{
    QStringList out;
    for (QAction *action : bar->actions()) {
        if (action->isSeparator()) {
            out << QStringLiteral("|");
        } else if (QWidget *widget = bar->widgetForAction(action); widget && !qobject_cast<QToolButton *>(widget)) {
            if (const auto *box = widget->findChild<QLineEdit *>(); box && !qobject_cast<QComboBox *>(widget))
                out << box->toolTip();
            else
                out << (widget->toolTip().isEmpty() ? QStringLiteral("_") : widget->toolTip());
        } else {
            out << action->toolTip();
        }
    }
    return out;
}

QTextCharFormat formatAt(const ReportEditor &editor, const QString &text)
{
    return TestDocuments::formatAt(*const_cast<ReportEditor &>(editor).document().textDocument(), text);
}

// Files carried by a drag, as a file manager sends them.
QMimeData *filesData(const QStringList &files)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &file : files)
        urls << QUrl::fromLocalFile(file);
    data->setUrls(urls);
    data->setText(files.join(QLatin1Char('\n')));
    return data;
}

} // namespace

class TestEditorWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString writeSample(const QString &name)
    {
        const QString file = path(name);
        if (!TestFiles::write(file, sampleRtf()))
            return QString();
        return file;
    }

    static QString statusText(const ReportEditor &editor, int panel)
    {
        return part<QLabel>(editor, qPrintable(QStringLiteral("statusPanel%1").arg(panel)))->text();
    }

    static void makeModified(ReportEditor &editor)
    {
        QTest::keyClicks(part<ReportTextEdit>(editor, "richEdit"), "abc");
        QVERIFY(editor.document().isModified());
    }

    static void showAndWait(ReportEditor &editor)
    {
        editor.showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
    }

private Q_SLOTS:
    void layoutCommandsAndHints()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        const QWidget &ui = editor;
        QCOMPARE(editor.windowTitle(), QStringLiteral("Без имени - Расчёты Велтра-Норлекс"));
        QCOMPARE(captions(part<QMenu>(ui, "fileMenu")->actions()),
                 (QStringList{"Создать", "Открыть...", "Сохранить", "Сохранить как...", "-", "Настройка печати...",
                              "Предварительный просмотр", "Печать", "Экспорт в PDF...", "-", "Закрыть"}));
        QCOMPARE(captions(part<QMenu>(ui, "editMenu")->actions()),
                 (QStringList{"Отменить", "Повторить", "-", "Вырезать", "Копировать", "Вставить", "-", "Шрифт..."}));
        QCOMPARE(part<QToolButton>(ui, "fileMenuButton")->text(), QStringLiteral("Файл"));
        QCOMPARE(part<QToolButton>(ui, "editMenuButton")->text(), QStringLiteral("Правка"));
        QCOMPARE(toolbarHints(part<QToolBar>(ui, "standardToolBar")), (QStringList{"Создать новый файл",
                                                                                   "Открыть файл...",
                                                                                   "Сохранить текущий файл",
                                                                                   "_",
                                                                                   "Предварительный просмотр...",
                                                                                   "Печать файла",
                                                                                   "|",
                                                                                   "Вырезать",
                                                                                   "Копировать",
                                                                                   "Вставить",
                                                                                   "_",
                                                                                   "Отменить",
                                                                                   "Повторить",
                                                                                   "_",
                                                                                   "Выбор шрифта",
                                                                                   "_",
                                                                                   "Размер шрифта",
                                                                                   "_",
                                                                                   "Жирный",
                                                                                   "Курсив",
                                                                                   "Подчёркивание",
                                                                                   "|",
                                                                                   "Слева",
                                                                                   "По центру",
                                                                                   "Справа",
                                                                                   "|",
                                                                                   "Список"}));
        for (QAction *action : part<QToolBar>(ui, "standardToolBar")->actions())
            QCOMPARE(action->statusTip(), action->toolTip());
        QCOMPARE(part<QAction>(ui, "newAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(part<QAction>(ui, "printAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        QCOMPARE(part<QAction>(ui, "closeAction")->shortcut(), QKeySequence(QStringLiteral("Alt+X")));
        QVERIFY(part<QAction>(ui, "saveAsAction")->shortcut().isEmpty());
        QCOMPARE(part<QAction>(ui, "redoAction")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                      QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
        // Every button has its picture.
        for (QAction *action : part<QToolBar>(ui, "standardToolBar")->actions()) {
            if (qobject_cast<QToolButton *>(part<QToolBar>(ui, "standardToolBar")->widgetForAction(action)))
                QVERIFY2(!action->icon().isNull(), qPrintable(action->toolTip()));
        }

        // The typefaces, sorted; the size box with its arrows.
        QVERIFY(part<QComboBox>(ui, "fontNameBox")->count() > 3);
        QStringList names;
        for (int i = 0; i < part<QComboBox>(ui, "fontNameBox")->count(); ++i)
            names << part<QComboBox>(ui, "fontNameBox")->itemText(i);
        QStringList sorted = names;
        sorted.sort(Qt::CaseInsensitive);
        QCOMPARE(names, sorted);
        QCOMPARE(part<QComboBox>(ui, "fontNameBox")->maxVisibleItems(), 10);
        QCOMPARE(part<StepArrows>(ui, "fontSizeArrows")->minimum(), 1);
        QCOMPARE(part<StepArrows>(ui, "fontSizeArrows")->maximum(), 100);

        // The status bar: caret, modified mark, nothing.
        QCOMPARE(part<QLabel>(ui, "statusPanel0")->width(), 120);
        QCOMPARE(part<QLabel>(ui, "statusPanel1")->width(), 80);
        QCOMPARE(part<QLabel>(ui, "statusPanel2")->width(), 50);
        QCOMPARE(statusText(editor, 0), QStringLiteral("Ст:   1   Кол:   1"));
        QCOMPARE(statusText(editor, 1), QString());
        // A new document's text: the default face at 8 points.
        QCOMPARE(part<QComboBox>(ui, "fontNameBox")->currentText(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(part<QComboBox>(ui, "fontSizeBox")->currentText(), QStringLiteral("8"));
    }

    void caretPositionAndModifiedMark()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("caret.rtf"))));
        QCOMPARE(statusText(editor, 0), QStringLiteral("Ст:   1   Кол:   1"));
        editor.document().selectRange(23, 0); // "Второй абзац", third character
        QCOMPARE(statusText(editor, 0), QStringLiteral("Ст:   2   Кол:   3"));
        QCOMPARE(statusText(editor, 1), QString());
        QTest::keyClicks(part<ReportTextEdit>(editor, "richEdit"), "x");
        QCOMPARE(statusText(editor, 1), QStringLiteral("Изменён"));
        QCOMPARE(statusText(editor, 0), QStringLiteral("Ст:   2   Кол:   4"));
        // A hint takes the whole bar for a while.
        QStatusTipEvent tip(QStringLiteral("Печать файла"));
        QCoreApplication::sendEvent(&editor, &tip);
        QCOMPARE(editor.statusBar()->currentMessage(), QStringLiteral("Печать файла"));
        QStatusTipEvent none{QString()};
        QCoreApplication::sendEvent(&editor, &none);
        QCOMPARE(editor.statusBar()->currentMessage(), QString());
    }

    void openAndSaveAs_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("overwrite");
        QTest::addColumn<bool>("written");
        QTest::newRow("yes") << QMessageBox::Yes << true;
        QTest::newRow("no") << QMessageBox::No << false;
        QTest::newRow("cancel") << QMessageBox::Cancel << false;
    }

    void openAndSaveAs()
    {
        QFETCH(QMessageBox::StandardButton, overwrite);
        QFETCH(bool, written);
        FakeDialogs dialogs;
        ReportEditor editor;
        dialogs.openName = writeSample(QStringLiteral("open.rtf"));
        part<QAction>(editor, "openAction")->trigger();
        QCOMPARE(dialogs.lastFilter, QStringLiteral("Документы RTF (*.rtf *.RTF);;Текстовые файлы (*.txt *.TXT)"));
        // The documents folder, which a program run from its own folder has there.
        QCOMPARE(dialogs.lastDir, QCoreApplication::applicationDirPath());
        QVERIFY(editor.document().documentText().startsWith(QStringLiteral("Обычный жирный")));
        QCOMPARE(editor.windowTitle(), QStringLiteral("open.rtf - Расчёты Велтра-Норлекс"));
        QVERIFY(dialogs.questions.isEmpty());

        const QString target = path(QStringLiteral("existing.rtf"));
        QVERIFY(TestFiles::write(target, "former"));
        dialogs.saveName = target;
        dialogs.answer = overwrite;
        part<QAction>(editor, "saveAsAction")->trigger();
        QCOMPARE(dialogs.questions, QStringList{QStringLiteral("Перезаписать %1").arg(target)});
        QCOMPARE(TestFiles::read(target) != "former", written);
        QCOMPARE(editor.document().documentName(), written ? target : dialogs.openName);
    }

    void formatByExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("rtf");
        QTest::newRow("txt") << "report.txt" << false;
        QTest::newRow("TXT") << "REPORT.TXT" << false;
        QTest::newRow("rtf") << "report.rtf" << true;
        QTest::newRow("other") << "report.doc" << true;
        QTest::newRow("none") << "report" << true;
    }

    void formatByExtension()
    {
        QFETCH(QString, name);
        QFETCH(bool, rtf);
        FakeDialogs dialogs;
        ReportEditor editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("source.rtf"))));
        makeModified(editor);
        dialogs.saveName = path(name);
        QFile::remove(dialogs.saveName);
        // A new document's Save asks for the name.
        editor.document().setDocumentName(EditorDocument::untitledName());
        part<QAction>(editor, "saveAction")->trigger();
        QCOMPARE(dialogs.saveDialogsShown, 1);
        const QByteArray bytes = TestFiles::read(dialogs.saveName);
        QCOMPARE(bytes.startsWith("{\\rtf"), rtf);
        QVERIFY(!editor.document().isModified());
        QCOMPARE(statusText(editor, 1), QString());

        // Read back by the same rule.
        ReportEditor other;
        QVERIFY(other.openDocumentFile(dialogs.saveName));
        QVERIFY(other.document().documentText().startsWith(QStringLiteral("abcОбычный жирный")));
    }

    void failedSaveKeepsFileAndChanges_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("RTF on a full disk")
            << "full.rtf" << int(FaultyFileSystem::Fault::ShortWrite) << QStringLiteral("На диске недостаточно места");
        QTest::newRow("text, rename refused")
            << "renamed.txt" << int(FaultyFileSystem::Fault::Rename) << QStringLiteral("На диске недостаточно места");
        QTest::newRow("RTF, broken disk")
            << "broken.rtf" << int(FaultyFileSystem::Fault::Fsync) << QStringLiteral("На диске недостаточно места");
    }

    void failedSaveKeepsFileAndChanges()
    {
        QFETCH(QString, name);
        QFETCH(int, fault);
        QFETCH(QString, reason);
        FakeDialogs dialogs;
        ReportEditor editor;
        const QString file = writeSample(name);
        const QByteArray former = TestFiles::read(file);
        QVERIFY(editor.openDocumentFile(file));
        makeModified(editor);
        {
            const FaultyFileSystem disk{FaultyFileSystem::Fault(fault)};
            part<QAction>(editor, "saveAction")->trigger();
        }
        QCOMPARE(
            dialogs.errors,
            QStringList{
                QStringLiteral("Файл \"%1\" не записан. %2. Прежний файл сохранён без изменений.").arg(file, reason)});
        QCOMPARE(TestFiles::read(file), former);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(name).size(), 1);
        QVERIFY(editor.document().isModified());
        QCOMPARE(statusText(editor, 1), QStringLiteral("Изменён"));
        QCOMPARE(editor.document().documentName(), file);

        // Once the disk is well again the same command saves.
        part<QAction>(editor, "saveAction")->trigger();
        QCOMPARE(dialogs.errors.size(), 1);
        QVERIFY(TestFiles::read(file) != former);
        QVERIFY(!editor.document().isModified());
    }

    void saveQuestionOnClose_data()
    {
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("errors");
        using B = QMessageBox::StandardButton;
        QTest::newRow("yes") << QList<B>{B::Yes} << "closed.rtf" << true << true << 0;
        QTest::newRow("no") << QList<B>{B::No} << "closed.rtf" << true << false << 0;
        QTest::newRow("cancel") << QList<B>{B::Cancel} << "closed.rtf" << false << false << 0;
        // Nothing saved, so the window stays and keeps the changes.
        QTest::newRow("yes, name dialog cancelled") << QList<B>{B::Yes} << "" << false << false << 0;
        QTest::newRow("yes, file cannot be written")
            << QList<B>{B::Yes} << "no-folder/closed.rtf" << false << false << 1;
    }

    void saveQuestionOnClose()
    {
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(QString, saveAs);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        QFETCH(int, errors);
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        makeModified(editor);
        dialogs.answers = answers;
        dialogs.saveName = saveAs.isEmpty() ? QString() : path(saveAs);
        if (!saveAs.isEmpty())
            QFile::remove(dialogs.saveName);
        part<QAction>(editor, "closeAction")->trigger();
        QCOMPARE(dialogs.questions, QStringList{QStringLiteral("Сохранить изменения в документе «Без имени»?")});
        QCOMPARE(!editor.isVisible(), closed);
        QCOMPARE(QFileInfo::exists(dialogs.saveName), saved);
        QCOMPARE(dialogs.errors.size(), errors);
        if (errors)
            QVERIFY(dialogs.errors.first().startsWith(QStringLiteral("Cannot create file")));
        QCOMPARE(editor.document().isModified(), !saved);
    }

    void openAsksFirst_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("opened");
        QTest::newRow("cancel") << QMessageBox::Cancel << "open.rtf" << false;
        QTest::newRow("no") << QMessageBox::No << "open.rtf" << true;
        QTest::newRow("no, open dialog cancelled") << QMessageBox::No << "" << false;
        QTest::newRow("no, missing file") << QMessageBox::No << "missing.rtf" << false;
    }

    void openAsksFirst()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, chosen);
        QFETCH(bool, opened);
        FakeDialogs dialogs;
        ReportEditor editor;
        const QString sample = writeSample(QStringLiteral("open.rtf"));
        makeModified(editor);
        dialogs.answer = answer;
        dialogs.openName = chosen.isEmpty() ? QString() : path(chosen);
        part<QAction>(editor, "openAction")->trigger();
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(editor.document().documentText().startsWith(QStringLiteral("Обычный")), opened);
        QCOMPARE(editor.document().documentName(), opened ? sample : EditorDocument::untitledName());
        QCOMPARE(editor.document().isModified(), !opened);
        if (chosen == QLatin1String("missing.rtf")) {
            QCOMPARE(dialogs.errors.size(), 1);
            QVERIFY(dialogs.errors.first().startsWith(QStringLiteral("Cannot open file \"%1\".").arg(path(chosen))));
        } else {
            QVERIFY(dialogs.errors.isEmpty());
        }
        if (answer == QMessageBox::Cancel)
            QCOMPARE(dialogs.lastDir, QString()); // no open dialog
    }

    void newCommandAsksWhenModified_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("emptied");
        QTest::newRow("modified, cancel") << true << QMessageBox::Cancel << false;
        QTest::newRow("modified, no") << true << QMessageBox::No << true;
        QTest::newRow("not modified") << false << QMessageBox::Cancel << true;
    }

    void newCommandAsksWhenModified()
    {
        QFETCH(bool, modified);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, emptied);
        FakeDialogs dialogs;
        ReportEditor editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("new.rtf"))));
        if (modified)
            makeModified(editor);
        dialogs.answer = answer;
        part<QAction>(editor, "newAction")->trigger();
        QCOMPARE(dialogs.questions.size(), modified ? 1 : 0);
        QCOMPARE(editor.document().documentText().isEmpty(), emptied);
        QCOMPARE(editor.windowTitle().startsWith(QStringLiteral("Без имени - ")), emptied);

        // Report building starts a new document without a question.
        dialogs.questions.clear();
        makeModified(editor);
        editor.newDocument();
        QVERIFY(dialogs.questions.isEmpty());
        QVERIFY(editor.document().documentText().isEmpty());
        QCOMPARE(statusText(editor, 1), QString());
    }

    void boldWithAndWithoutSelection()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        const QWidget &ui = editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("bold.rtf"))));
        // A selection: only it.
        editor.document().selectRange(0, 7); // "Обычный"
        QVERIFY(!part<QAction>(ui, "boldAction")->isChecked());
        part<QAction>(ui, "boldAction")->trigger();
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontWeight(), int(QFont::Bold));
        QCOMPARE(formatAt(editor, QStringLiteral("текст")).fontWeight(), int(QFont::Normal));
        QVERIFY(part<QAction>(ui, "boldAction")->isChecked());
        // No selection: the text typed next, nothing already there.
        editor.document().selectRange(20, 0); // after "текст"
        QVERIFY(!part<QAction>(ui, "boldAction")->isChecked());
        part<QAction>(ui, "italicAction")->trigger();
        part<QAction>(ui, "boldAction")->trigger();
        QVERIFY(part<QAction>(ui, "boldAction")->isChecked());
        QVERIFY(!formatAt(editor, QStringLiteral("текст")).fontItalic());
        QTest::keyClicks(part<ReportTextEdit>(ui, "richEdit"), "new");
        QCOMPARE(formatAt(editor, QStringLiteral("new")).fontWeight(), int(QFont::Bold));
        QVERIFY(formatAt(editor, QStringLiteral("new")).fontItalic());
        QCOMPARE(formatAt(editor, QStringLiteral("текст")).fontWeight(), int(QFont::Normal));
        // Underline off again on the selection.
        editor.document().selectRange(0, 7);
        part<QAction>(ui, "underlineAction")->trigger();
        QVERIFY(formatAt(editor, QStringLiteral("Обычный")).fontUnderline());
        part<QAction>(ui, "underlineAction")->trigger();
        QVERIFY(!formatAt(editor, QStringLiteral("Обычный")).fontUnderline());
    }

    void formatKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Ctrl+B, bold") << int(Qt::Key_B);
        QTest::newRow("Ctrl+I, italic") << int(Qt::Key_I);
        QTest::newRow("Ctrl+U, underline") << int(Qt::Key_U);
    }

    // The keys every word processor has, on the selection in the document;
    // pressed again they take the format off.
    void formatKeys()
    {
        QFETCH(int, key);
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        const QWidget &ui = editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("keys.rtf"))));
        editor.document().selectRange(0, 7); // "Обычный"
        const auto formatted = [&] {
            const QTextCharFormat f = formatAt(editor, QStringLiteral("Обычный"));
            return key == Qt::Key_B   ? f.fontWeight() == QFont::Bold
                   : key == Qt::Key_I ? f.fontItalic()
                                      : f.fontUnderline();
        };
        QVERIFY(!formatted());
        QTest::keyClick(part<ReportTextEdit>(ui, "richEdit"), Qt::Key(key), Qt::ControlModifier);
        QVERIFY(formatted());
        QCOMPARE(formatAt(editor, QStringLiteral("текст")).fontWeight(), int(QFont::Normal));
        QTest::keyClick(part<ReportTextEdit>(ui, "richEdit"), Qt::Key(key), Qt::ControlModifier);
        QVERIFY(!formatted());
    }

    void syncingTheToolbarAppliesNothing()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        const QWidget &ui = editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("sync.rtf"))));
        // Through bold, plain, centred 14-point text: the toolbar follows.
        editor.document().selectRange(9, 0);
        QVERIFY(part<QAction>(ui, "boldAction")->isChecked());
        QCOMPARE(part<QComboBox>(ui, "fontNameBox")->currentText(), QStringLiteral("Arial"));
        editor.document().selectRange(26, 0);
        QVERIFY(!part<QAction>(ui, "boldAction")->isChecked());
        QVERIFY(part<QAction>(ui, "alignCenterAction")->isChecked());
        QCOMPARE(part<QComboBox>(ui, "fontSizeBox")->currentText(), QStringLiteral("14"));
        QCOMPARE(part<StepArrows>(ui, "fontSizeArrows")->position(), 10); // read from the box when clicked
        editor.document().selectRange(2, 0);
        QVERIFY(part<QAction>(ui, "alignLeftAction")->isChecked());
        QCOMPARE(part<QComboBox>(ui, "fontSizeBox")->currentText(), QStringLiteral("10"));
        // A justified paragraph changes no alignment button.
        editor.document().setAlignment(Qt::AlignJustify);
        QVERIFY(part<QAction>(ui, "alignLeftAction")->isChecked());
        editor.document().textDocument()->undo();
        QVERIFY(!editor.document().isModified());
        QVERIFY(!editor.document().textDocument()->isUndoAvailable());
        QVERIFY(dialogs.errors.isEmpty());
    }

    void fontSizeBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("ending"); // "", "enter", "leave" or "list"
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("refused");
        QTest::newRow("typed, not yet chosen") << "16"
                                               << "" << 10 << false;
        QTest::newRow("enter") << "16"
                               << "enter" << 16 << false;
        QTest::newRow("leaving the box") << "16"
                                         << "leave" << 16 << false;
        QTest::newRow("a size not in the list, leaving") << "17"
                                                         << "leave" << 17 << false;
        QTest::newRow("blanks around") << " 16 "
                                       << "enter" << 16 << false;
        QTest::newRow("the largest") << "1638"
                                     << "enter" << 1638 << false;
        QTest::newRow("chosen from the list") << ""
                                              << "list" << 24 << false;
        QTest::newRow("emptied, enter") << ""
                                        << "enter" << 10 << false;
        QTest::newRow("emptied, leaving") << ""
                                          << "leave" << 10 << false;
        QTest::newRow("letters") << "abc"
                                 << "enter" << 10 << true;
        QTest::newRow("zero") << "0"
                              << "enter" << 10 << true;
        QTest::newRow("too large, leaving") << "1639"
                                            << "leave" << 10 << true;
        QTest::newRow("not whole") << "10.5"
                                   << "enter" << 10 << true;
    }

    void fontSizeBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, ending);
        QFETCH(int, size);
        QFETCH(bool, refused);
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        const QWidget &ui = editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("size.rtf"))));
        editor.document().selectRange(0, 7);
        QCOMPARE(part<QComboBox>(ui, "fontSizeBox")->currentText(), QStringLiteral("10"));
        // Keys go where the keyboard sends them: to the focused box, which
        // hands them to its text field.
        QLineEdit *box = part<QComboBox>(ui, "fontSizeBox")->lineEdit();
        part<QComboBox>(ui, "fontSizeBox")->setFocus();
        QWidget *keys = QApplication::focusWidget();
        QVERIFY(keys == part<QComboBox>(ui, "fontSizeBox") || keys == box);
        box->selectAll();
        QTest::keyClick(keys, Qt::Key_Backspace);
        QTest::keyClicks(keys, typed);
        // Typing and emptying apply nothing and say nothing.
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontPointSize(), 10.0);
        QVERIFY(dialogs.messages.isEmpty());
        if (ending == QLatin1String("enter")) {
            QTest::keyClick(keys, Qt::Key_Return);
        } else if (ending == QLatin1String("leave")) {
            part<ReportTextEdit>(ui, "richEdit")->setFocus();
            QVERIFY(!box->hasFocus());
        } else if (ending == QLatin1String("list")) {
            part<QComboBox>(ui, "fontSizeBox")->showPopup();
            QAbstractItemView *list = part<QComboBox>(ui, "fontSizeBox")->view();
            QVERIFY(QTest::qWaitForWindowExposed(list->window()));
            const QModelIndex item =
                list->model()->index(part<QComboBox>(ui, "fontSizeBox")->findText(QStringLiteral("24")), 0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
        }
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontPointSize(), qreal(size));
        QCOMPARE(dialogs.messages,
                 refused ? QStringList{"Размер шрифта — целое число пунктов от 1 до 1638."} : QStringList());
        QVERIFY(dialogs.errors.isEmpty());
        if (ending.isEmpty())
            return;
        // The box shows the size of the text; a size applied is one step to undo.
        QCOMPARE(part<QComboBox>(ui, "fontSizeBox")->currentText(), QString::number(size));
        QCOMPARE(editor.document().textDocument()->availableUndoSteps(), size == 10 ? 0 : 1);
        part<ReportTextEdit>(ui, "richEdit")->setFocus();
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontPointSize(), qreal(size));
    }

    void upDownStepsTheTypedSize()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        const QWidget &ui = editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("updown.rtf"))));
        editor.document().selectRange(0, 7);
        QTest::mouseClick(part<StepArrows>(ui, "fontSizeArrows")->upButton(), Qt::LeftButton);
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontPointSize(), 11.0);
        QCOMPARE(part<QComboBox>(ui, "fontSizeBox")->currentText(), QStringLiteral("11"));
        part<StepArrows>(ui, "fontSizeArrows")->step(-1);
        part<StepArrows>(ui, "fontSizeArrows")->step(-1);
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontPointSize(), 9.0);
        // A size typed in the box steps on from there.
        part<QComboBox>(ui, "fontSizeBox")->setEditText(QStringLiteral("20"));
        part<StepArrows>(ui, "fontSizeArrows")->step(1);
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontPointSize(), 21.0);
        // Held within 1 to 100.
        part<QComboBox>(ui, "fontSizeBox")->setEditText(QStringLiteral("100"));
        part<StepArrows>(ui, "fontSizeArrows")->step(1);
        QCOMPARE(part<QComboBox>(ui, "fontSizeBox")->currentText(), QStringLiteral("100"));
        part<QComboBox>(ui, "fontSizeBox")->setEditText(QStringLiteral("1"));
        part<StepArrows>(ui, "fontSizeArrows")->step(-1);
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontPointSize(), 1.0);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void fontNameAndFontDialog()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        const QWidget &ui = editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("font.rtf"))));
        editor.document().selectRange(0, 7);
        const int serif = part<QComboBox>(ui, "fontNameBox")->findText(QStringLiteral("Liberation Serif"));
        QVERIFY(serif >= 0);
        part<QComboBox>(ui, "fontNameBox")->setCurrentIndex(serif);
        Q_EMIT part<QComboBox>(ui, "fontNameBox")->textActivated(part<QComboBox>(ui, "fontNameBox")->itemText(serif));
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontFamilies().toStringList().value(0),
                 QStringLiteral("Liberation Serif"));
        // A name that no typeface has is not applied.
        Q_EMIT part<QComboBox>(ui, "fontNameBox")->textActivated(QStringLiteral("Нет такого"));
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).fontFamilies().toStringList().value(0),
                 QStringLiteral("Liberation Serif"));

        QFont chosen(QStringLiteral("Liberation Mono"));
        chosen.setPointSize(15);
        chosen.setItalic(true);
        dialogs.onDialog = [&](QDialog *dialog) {
            auto *fonts = qobject_cast<QFontDialog *>(dialog);
            QVERIFY(fonts);
            QCOMPARE(fonts->currentFont().family(), QStringLiteral("Liberation Serif"));
            fonts->setCurrentFont(chosen);
        };
        part<QAction>(ui, "fontAction")->trigger();
        const QTextCharFormat applied = formatAt(editor, QStringLiteral("Обычный"));
        QCOMPARE(applied.font().family(), QStringLiteral("Liberation Mono"));
        QCOMPARE(applied.fontPointSize(), 15.0);
        QVERIFY(applied.fontItalic());
        QCOMPARE(part<QComboBox>(ui, "fontSizeBox")->currentText(), QStringLiteral("15"));
        QVERIFY(!formatAt(editor, QStringLiteral("текст")).fontItalic());
        // Cancel changes nothing.
        dialogs.dialogResult = QDialog::Rejected;
        dialogs.onDialog = [](QDialog *dialog) { qobject_cast<QFontDialog *>(dialog)->setCurrentFont(QFont("Arial")); };
        part<QAction>(ui, "fontAction")->trigger();
        QCOMPARE(formatAt(editor, QStringLiteral("Обычный")).font().family(), QStringLiteral("Liberation Mono"));
    }

    void alignmentAndBullets()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        const QWidget &ui = editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("align.rtf"))));
        QTextDocument *doc = editor.document().textDocument();
        editor.document().selectRange(0, 0);
        part<QAction>(ui, "alignRightAction")->trigger();
        QCOMPARE(doc->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QVERIFY(part<QAction>(ui, "alignRightAction")->isChecked());
        QVERIFY(!part<QAction>(ui, "alignLeftAction")->isChecked());
        part<QAction>(ui, "alignCenterAction")->trigger();
        QCOMPARE(doc->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        part<QAction>(ui, "alignLeftAction")->trigger();
        QCOMPARE(doc->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        // Only the paragraph at the caret.
        QCOMPARE(doc->begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

        part<QAction>(ui, "bulletsAction")->trigger();
        QVERIFY(doc->begin().textList());
        QCOMPARE(editor.document().indents().first, 10);
        QVERIFY(!doc->begin().next().textList());
        QCOMPARE(part<EditorRuler>(ui, "ruler")->firstIndentMarker->x(), 18); // 10 points
        part<QAction>(ui, "bulletsAction")->trigger();
        QVERIFY(!doc->begin().textList());
        QCOMPARE(editor.document().indents().first, 0);
        QVERIFY(!part<QAction>(ui, "bulletsAction")->isChecked());
    }

    void editCommandsFollowTheState()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        const QWidget &ui = editor;
        QVERIFY(editor.openDocumentFile(writeSample(QStringLiteral("edit.rtf"))));
        QVERIFY(!part<QAction>(ui, "undoAction")->isEnabled());
        QVERIFY(!part<QAction>(ui, "cutAction")->isEnabled());
        QVERIFY(!part<QAction>(ui, "copyAction")->isEnabled());
        editor.document().selectRange(0, 7);
        QVERIFY(part<QAction>(ui, "cutAction")->isEnabled());
        QVERIFY(part<QAction>(ui, "copyAction")->isEnabled());
        part<QAction>(ui, "copyAction")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Обычный"));
        QVERIFY(part<QAction>(ui, "pasteAction")->isEnabled());
        part<QAction>(ui, "cutAction")->trigger();
        QVERIFY(editor.document().documentText().startsWith(QStringLiteral(" жирный")));
        QVERIFY(part<QAction>(ui, "undoAction")->isEnabled());
        QVERIFY(!part<QAction>(ui, "cutAction")->isEnabled());
        part<QAction>(ui, "undoAction")->trigger();
        QVERIFY(editor.document().documentText().startsWith(QStringLiteral("Обычный жирный")));
        editor.document().selectRange(0, 0);
        part<QAction>(ui, "pasteAction")->trigger();
        QVERIFY(editor.document().documentText().startsWith(QStringLiteral("ОбычныйОбычный")));
        QGuiApplication::clipboard()->clear();
        QVERIFY(!part<QAction>(ui, "pasteAction")->isEnabled());
    }

    void rulerPlacement()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        editor.resize(672, 516);
        showAndWait(editor);
        const EditorRuler *ruler = part<EditorRuler>(editor, "ruler");
        QCOMPARE(ruler->width(), 672);
        QCOMPARE(ruler->scaleLine->width(), 672);
        QCOMPARE(ruler->firstIndentMarker->x(), 2);
        QCOMPARE(ruler->leftIndentMarker->x(), 2);
        QCOMPARE(ruler->rightIndentMarker->x(), 656);
        QCOMPARE(ruler->firstIndentMarker->y(), 1);
        QCOMPARE(ruler->leftIndentMarker->size(), QSize(13, 17));
        editor.document().setFirstIndent(12);
        editor.document().setLeftIndent(6);
        editor.document().setRightIndent(3);
        QCOMPARE(ruler->firstIndentMarker->x(), 22);
        QCOMPARE(ruler->leftIndentMarker->x(), 32);
        QCOMPARE(ruler->rightIndentMarker->x(), 651);
        // The markers follow the caret from paragraph to paragraph.
        QTextCursor caret = part<ReportTextEdit>(editor, "richEdit")->textCursor();
        caret.insertBlock();
        part<ReportTextEdit>(editor, "richEdit")->setTextCursor(caret);
        editor.document().setFirstIndent(0);
        QCOMPARE(ruler->firstIndentMarker->x(), 2);
        editor.document().selectRange(0, 0);
        QCOMPARE(ruler->firstIndentMarker->x(), 22);
        editor.resize(700, 516);
        QCOMPARE(ruler->rightIndentMarker->x(), 679);
        QCOMPARE(ruler->scaleLine->width(), 700);
        QCOMPARE(EditorRuler::ticks().size(), 200);
    }

    void rulerDrags_data()
    {
        QTest::addColumn<QString>("marker");
        QTest::addColumn<int>("pressX");
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("markerAfter");
        // All indents 0 on a 672-pixel ruler.
        QTest::newRow("first pressed at its centre") << "first" << 6 << QList<int>{} << 1 << 0 << 0 << 3;
        QTest::newRow("first dragged to 32") << "first" << 6 << QList<int>{20, 22} << 19 << -18 << 0 << 33;
        QTest::newRow("first to the far left") << "first" << 6 << QList<int>{-40} << 0 << 1 << 0 << 2;
        QTest::newRow("left dragged to 32") << "left" << 6 << QList<int>{36} << 0 << 19 << 0 << 33;
        QTest::newRow("left grabbed at its edge") << "left" << 0 << QList<int>{} << 0 << -2 << 0 << -1;
        QTest::newRow("right released where it stands") << "right" << 6 << QList<int>{} << 0 << 0 << 0 << 656;
        QTest::newRow("right dragged 20 to the left") << "right" << 6 << QList<int>{-14} << 0 << 0 << 12 << 636;
    }

    void rulerDrags()
    {
        QFETCH(QString, marker);
        QFETCH(int, pressX);
        QFETCH(QList<int>, moves);
        QFETCH(int, first);
        QFETCH(int, left);
        QFETCH(int, right);
        QFETCH(int, markerAfter);
        FakeDialogs dialogs;
        ReportEditor editor;
        editor.resize(672, 516);
        showAndWait(editor);
        const EditorRuler *ruler = part<EditorRuler>(editor, "ruler");
        RulerMarker *dragged = marker == QLatin1String("first")  ? ruler->firstIndentMarker
                               : marker == QLatin1String("left") ? ruler->leftIndentMarker
                                                                 : ruler->rightIndentMarker;
        QTest::mousePress(dragged, Qt::LeftButton, Qt::NoModifier, QPoint(pressX, 5));
        QCOMPARE(ruler->grabOffset(), 6);
        for (const int x : moves) {
            QMouseEvent move(QEvent::MouseMove, QPointF(x, 5), dragged->mapToGlobal(QPointF(x, 5)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(dragged, &move);
            QVERIFY(dragged->x() >= 0);
        }
        QTest::mouseRelease(dragged, Qt::LeftButton, Qt::NoModifier, QPoint(6, 5));
        QVERIFY(!ruler->isDragging());
        const EditorDocument::Indents indents = editor.document().indents();
        QCOMPARE(indents.first, first);
        QCOMPARE(indents.left, left);
        QCOMPARE(indents.right, right);
        QCOMPARE(dragged->x(), markerAfter);
        QCOMPARE(editor.document().isModified(), first != 0 || left != 0 || right != 0);
    }

    void droppedFiles()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        const QString firstFile = writeSample(QStringLiteral("dropped1.rtf"));
        QVERIFY(TestFiles::write(path(QStringLiteral("dropped2.txt")), "второй файл"));
        makeModified(editor);
        dialogs.answer = QMessageBox::No;
        // Onto the document, as a file manager drops them.
        QWidget *target = part<ReportTextEdit>(editor, "richEdit")->viewport();
        std::unique_ptr<QMimeData> data(filesData({firstFile, path(QStringLiteral("dropped2.txt"))}));
        const QPointF at(20, 20);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(editor.document().documentName(), firstFile);
        // The file is opened, not its name pasted.
        QVERIFY(editor.document().documentText().startsWith(QStringLiteral("Обычный жирный")));
        QVERIFY(!editor.document().isModified());

        // Onto the rest of the window too; Cancel keeps the document.
        makeModified(editor);
        std::unique_ptr<QMimeData> second(filesData({path(QStringLiteral("dropped2.txt"))}));
        for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::No}) {
            dialogs.answer = answer;
            QDragEnterEvent entering(QPoint(5, 5), Qt::CopyAction, second.get(), Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&editor, &entering);
            QVERIFY(entering.isAccepted());
            QDropEvent elsewhere(QPointF(5, 5), Qt::CopyAction, second.get(), Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&editor, &elsewhere);
            if (answer == QMessageBox::Cancel)
                QCOMPARE(editor.document().documentName(), firstFile);
        }
        QCOMPARE(editor.document().documentText(), QStringLiteral("второй файл"));
    }

    void startFileOpensOnceAtTheFirstShowing()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        const QString file = writeSample(QStringLiteral("argument.rtf"));
        editor.setStartFile(file);
        QVERIFY(editor.hasStartFile());
        QVERIFY(editor.document().documentText().isEmpty());
        showAndWait(editor);
        QCOMPARE(editor.document().documentName(), file);
        QVERIFY(!editor.hasStartFile());
        QVERIFY(!editor.document().textDocument()->isUndoAvailable());
        // Not again over what the document holds when the window shows again.
        dialogs.answer = QMessageBox::No;
        editor.close();
        editor.newDocument();
        QTextCursor(editor.document().textDocument()).insertText(QStringLiteral("отчёт"));
        showAndWait(editor);
        QCOMPARE(editor.document().documentText(), QStringLiteral("отчёт"));
        QVERIFY(dialogs.errors.isEmpty());
    }

    void startFileNeverReplacesAReport_data()
    {
        QTest::addColumn<bool>("reportFirst");
        QTest::addColumn<bool>("isFile");
        QTest::addColumn<bool>("opened");
        QTest::newRow("a report built before the first showing") << true << true << false;
        QTest::newRow("a folder named") << false << false << false;
        QTest::newRow("an empty document") << false << true << true;
    }

    void startFileNeverReplacesAReport()
    {
        QFETCH(bool, reportFirst);
        QFETCH(bool, isFile);
        QFETCH(bool, opened);
        FakeDialogs dialogs;
        ReportEditor editor;
        editor.setStartFile(isFile ? writeSample(QStringLiteral("start.rtf")) : m_dir.path());
        QCOMPARE(editor.hasStartFile(), isFile);
        if (reportFirst) {
            editor.newDocument();
            QTextCursor(editor.document().textDocument()).insertText(QStringLiteral("Отчёт"));
            editor.markBuiltDocument();
        }
        showAndWait(editor);
        QCOMPARE(editor.document().documentText().startsWith(QStringLiteral("Обычный")), opened);
        QCOMPARE(editor.document().documentText() == QStringLiteral("Отчёт"), reportFirst);
        QVERIFY(!editor.hasStartFile());
        QVERIFY(dialogs.errors.isEmpty());
    }

    void undoHistoryStartsEmpty_data()
    {
        QTest::addColumn<QString>("start");
        QTest::newRow("a report built") << "report";
        QTest::newRow("a file opened") << "open";
        QTest::newRow("a file dropped") << "drop";
        QTest::newRow("the new command") << "new";
    }

    void undoHistoryStartsEmpty()
    {
        QFETCH(QString, start);
        FakeDialogs dialogs;
        dialogs.answer = QMessageBox::No;
        ReportEditor editor;
        showAndWait(editor);
        const QWidget &ui = editor;
        // Some history first: typing, then something undone.
        QTest::keyClicks(part<ReportTextEdit>(ui, "richEdit"), "abc");
        QTest::keyClick(part<ReportTextEdit>(ui, "richEdit"), Qt::Key_Return);
        QTest::keyClicks(part<ReportTextEdit>(ui, "richEdit"), "def");
        part<QAction>(ui, "undoAction")->trigger();
        QVERIFY(part<QAction>(ui, "redoAction")->isEnabled());
        const QString file = writeSample(QStringLiteral("history.rtf"));
        if (start == QLatin1String("report")) {
            // As report building does: the template loaded and filled in place.
            QVERIFY(editor.document().loadDocumentFile(file).ok());
            editor.document().selectRange(0, 7);
            editor.document().replaceSelection(QStringLiteral("Заполнено"));
            editor.markBuiltDocument();
        } else if (start == QLatin1String("open")) {
            QVERIFY(editor.openDocumentFile(file));
        } else if (start == QLatin1String("drop")) {
            editor.openDroppedFiles({file});
        } else {
            part<QAction>(ui, "newAction")->trigger();
        }
        const QString text = editor.document().documentText();
        QVERIFY(!part<QAction>(ui, "undoAction")->isEnabled());
        QVERIFY(!part<QAction>(ui, "redoAction")->isEnabled());
        // Ctrl+Z, and then Ctrl+Y, change nothing.
        QTest::keyClick(part<ReportTextEdit>(ui, "richEdit"), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(part<ReportTextEdit>(ui, "richEdit"), Qt::Key_Y, Qt::ControlModifier);
        part<QAction>(ui, "undoAction")->trigger();
        QCOMPARE(editor.document().documentText(), text);
        // A report just built is as unmodified as a file just opened.
        QVERIFY(!editor.hasUserChanges());
        QVERIFY(!editor.document().isModified());
    }

    void redoBesideUndo_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Ctrl+Y") << "ctrl+y";
        QTest::newRow("Ctrl+Shift+Z") << "ctrl+shift+z";
        QTest::newRow("toolbar button") << "button";
        QTest::newRow("edit menu") << "menu";
    }

    void redoBesideUndo()
    {
        QFETCH(QString, way);
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        const QWidget &ui = editor;
        QVERIFY(!part<QAction>(ui, "redoAction")->isEnabled());
        QTest::keyClicks(part<ReportTextEdit>(ui, "richEdit"), "abc");
        QTest::keyClick(part<ReportTextEdit>(ui, "richEdit"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor.document().documentText(), QString());
        QVERIFY(part<QAction>(ui, "redoAction")->isEnabled());
        if (way == QLatin1String("ctrl+y"))
            QTest::keyClick(part<ReportTextEdit>(ui, "richEdit"), Qt::Key_Y, Qt::ControlModifier);
        else if (way == QLatin1String("ctrl+shift+z"))
            QTest::keyClick(part<ReportTextEdit>(ui, "richEdit"), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        else if (way == QLatin1String("button"))
            qobject_cast<QToolButton *>(
                part<QToolBar>(ui, "standardToolBar")->widgetForAction(part<QAction>(ui, "redoAction")))
                ->click();
        else
            part<QMenu>(ui, "editMenu")
                ->actions()
                .at(part<QMenu>(ui, "editMenu")->actions().indexOf(part<QAction>(ui, "redoAction")))
                ->trigger();
        QCOMPARE(editor.document().documentText(), QStringLiteral("abc"));
        QVERIFY(!part<QAction>(ui, "redoAction")->isEnabled());
        QVERIFY(part<QAction>(ui, "undoAction")->isEnabled());
    }

    void replacingAsksAboutTheUsersChanges_data()
    {
        QTest::addColumn<QString>("history");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("saveName");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");
        using B = QMessageBox::StandardButton;
        QTest::newRow("report as built") << "built" << B::Cancel << "" << false << true << false;
        QTest::newRow("edited, cancel") << "edited" << B::Cancel << "r.rtf" << true << false << false;
        QTest::newRow("edited, no") << "edited" << B::No << "r.rtf" << true << true << false;
        QTest::newRow("edited, yes") << "edited" << B::Yes << "r.rtf" << true << true << true;
        QTest::newRow("edited, yes, name dialog cancelled") << "edited" << B::Yes << "" << true << false << false;
        QTest::newRow("edited, yes, cannot be written")
            << "edited" << B::Yes << "no-folder/r.rtf" << true << false << false;
        QTest::newRow("edited and saved") << "saved" << B::Cancel << "r.rtf" << false << true << true;
        QTest::newRow("edited and undone") << "undone" << B::Cancel << "" << false << true << false;
        QTest::newRow("edited, window closed since") << "closed" << B::Cancel << "" << false << true << false;
    }

    void replacingAsksAboutTheUsersChanges()
    {
        QFETCH(QString, history);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, saveName);
        QFETCH(bool, asked);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);
        QFile::remove(path(QStringLiteral("r.rtf")));
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        const QWidget &ui = editor;
        QTextCursor(editor.document().textDocument()).insertText(QStringLiteral("Отчёт"));
        editor.markBuiltDocument();
        QVERIFY(!editor.document().isModified());
        QVERIFY(!editor.hasUserChanges());
        if (history != QLatin1String("built")) {
            QTest::keyClicks(part<ReportTextEdit>(ui, "richEdit"), "edit ");
            QVERIFY(editor.hasUserChanges());
        }
        dialogs.saveName = saveName.isEmpty() ? QString() : path(saveName);
        if (history == QLatin1String("saved")) {
            QVERIFY(editor.save());
        } else if (history == QLatin1String("undone")) {
            part<QAction>(ui, "undoAction")->trigger();
        } else if (history == QLatin1String("closed")) {
            dialogs.answer = QMessageBox::No;
            QVERIFY(editor.close());
            dialogs.questions.clear();
        }
        const int savesBefore = dialogs.saveDialogsShown;
        dialogs.answer = answer;
        QCOMPARE(editor.confirmReplace(), goesOn);
        QCOMPARE(dialogs.questions,
                 asked ? QStringList{QStringLiteral("Сохранить изменения в документе «Без имени»?")} : QStringList());
        QCOMPARE(QFileInfo::exists(path(QStringLiteral("r.rtf"))), saved);
        if (answer == QMessageBox::Yes)
            QCOMPARE(dialogs.saveDialogsShown, savesBefore + 1);
        // Kept as it was whenever the caller does not go on.
        if (!goesOn) {
            QVERIFY(editor.document().documentText().contains(QStringLiteral("edit ")));
            QVERIFY(editor.hasUserChanges());
        }
    }

    void opensWideEnoughForTheReportText()
    {
        FakeDialogs dialogs;
        ReportEditor editor;
        showAndWait(editor);
        const int textWidth = qCeil(ReportPage::TextWidth / 25.4 * editor.logicalDpiX());
        QVERIFY2(part<ReportTextEdit>(editor, "richEdit")->viewport()->width() >= textWidth + 2 * EditorRuler::Gutter,
                 qPrintable(QString::number(part<ReportTextEdit>(editor, "richEdit")->viewport()->width())));
        QVERIFY(editor.height() >= 516);
    }
};

QTEST_MAIN(TestEditorWindow)
#include "tst_editorwindow.moc"
