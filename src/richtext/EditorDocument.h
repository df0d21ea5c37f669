#pragma once

#include "richtext/DocumentFile.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <functional>

class QImage;
class QSizeF;
class QTextBlock;
class QTextBlockFormat;
class QTextDocument;

// The report editor's document: the rich text, its name, the modified flag
// and a selection, with the operations that report building runs on it.
// It works without a window; the editor window shows the same QTextDocument
// and keeps its caret in step with the selection here.
//
// Positions count characters from 0 as documentText() lists them; a
// paragraph end counts as one character.
class EditorDocument : public QObject
{
    Q_OBJECT

public:
    // The indents of a paragraph in whole points.  first: the first line's
    // distance from the text's left edge; left: the following lines' offset
    // from the first line; right: all lines' distance from the right edge.
    struct Indents
    {
        int first = 0;
        int left = 0;
        int right = 0;
    };

    explicit EditorDocument(QObject *parent = nullptr);
    ~EditorDocument() override;

    QTextDocument *textDocument() const { return m_document; }

    // The name of a document that has no file yet: "Без имени".
    static QString untitledName();
    const QString &documentName() const { return m_name; }
    void setDocumentName(const QString &name);
    bool isUntitled() const { return m_name == untitledName(); }

    bool isModified() const;
    void setModified(bool modified);

    // An empty document named as untitled and not modified; whatever the
    // document held is dropped without a question.
    void newDocument();
    // Replaces the content with the file's, the format by its extension;
    // the name stays.  On failure the document is as it was.
    Result<> loadDocumentFile(const QString &path);
    // Replaces the content with that of another document, keeping every
    // format and picture; nothing of it can be undone, and the document is
    // modified.  The name stays.
    void replaceContent(const QTextDocument &source);
    // Loads the file and takes its path as the name, not modified.
    Result<> openDocumentFile(const QString &path);
    // Writes the document to the file, the format by its extension, and
    // takes its path as the name, not modified.  A failed save leaves the
    // former file, the name and the flag as they were.
    Result<> saveDocumentFile(const QString &path);
    // Whether a failed load could not open the file at all (the file is
    // missing, unreadable or a folder), rather than not read its content.
    static bool couldNotOpen(const Result<> &result);

    // The content as plain text; its length is the end of the document.
    QString documentText() const;
    int documentLength() const;
    // Case-sensitive forward search for the exact text among the characters
    // from start up to start + length (a negative length: to the end).  The
    // position of the first match, or -1.
    int findInDocument(const QString &text, int start, int length) const;
    // Selects length characters from start; (0, 0) puts the caret at the
    // start with nothing selected.
    void selectRange(int start, int length);
    // Replaces the selected characters by the text, which takes the
    // character format of the first replaced character; the caret follows
    // the new text.
    void replaceSelection(const QString &text);
    int selectionStart() const;
    int selectionLength() const;
    // Puts a picture at the caret (after the selection, whose text stays),
    // on a paragraph of its own, `size` in document units; one step to undo.
    // A caption, when given, goes on a centred paragraph below it.  The caret
    // follows the picture (and its caption).
    void insertPicture(const QImage &picture, const QSizeF &size, const QString &caption = QString());

    // The caret and selection; the editor window hands over the user's
    // (not while an operation of this document is under way).
    const QTextCursor &cursor() const { return m_cursor; }
    void setCursor(const QTextCursor &cursor);

    // The font of text without a font of its own.
    QFont defaultFont() const;

    // Character attributes that the formatting commands change: those of the
    // selection when a character is selected, otherwise those that text
    // typed at the caret gets.
    QFont currentFont() const;
    void mergeCurrentCharFormat(const QTextCharFormat &format);

    // Paragraph attributes of the paragraph at the caret; the setters change
    // every paragraph the selection touches.
    Qt::Alignment alignment() const;
    void setAlignment(Qt::Alignment alignment);
    bool hasBullets() const;
    // Bullets on put the paragraphs into a bulleted list and raise their
    // left indent to BulletIndent points when it is smaller, so that the
    // bullet has room left of the text; bullets off take them out of the list
    // and set the indent to 0.
    void setBullets(bool on);
    static constexpr int BulletIndent = 10;

    Indents indents() const;
    void setFirstIndent(int points);
    void setLeftIndent(int points);
    void setRightIndent(int points);

    // A document measures lengths in pixels of 96 per inch.
    static qreal unitsFromPoints(int points) { return points * 4.0 / 3.0; }
    static int pointsFromUnits(qreal units);

Q_SIGNALS:
    void documentNameChanged(const QString &name);
    void modifiedChanged(bool modified);
    // An operation set the caret, the selection or the format of text typed
    // at the caret.
    void cursorChanged();

private:
    QTextCharFormat characterFormatAt(int position) const;
    // The first line at first and the following lines offset from it, in
    // document units.
    static void setIndents(QTextBlockFormat &format, qreal first, qreal offset, qreal indentWidth);
    // Runs change on every paragraph the selection touches, as one step to
    // undo, or on its block format.
    void forSelectedParagraphs(const std::function<void(const QTextBlock &)> &change);
    void changeParagraphs(const std::function<void(QTextBlockFormat &)> &change);
    void cursorToStart();

    QTextDocument *m_document;
    QTextCursor m_cursor;
    QString m_name;
    // Set while an operation changes the document through m_cursor: the
    // window's caret, which moves along, is not taken over then.
    bool m_changing = false;
};
