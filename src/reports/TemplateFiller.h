#pragma once

#include <QString>
#include <QPair>
#include <QStringList>
#include <QVector>

class QTextDocument;
class ReportNumber;

// Fills a report template loaded into a document: placeholders ("$Din.Val$")
// are replaced by texts, numbered blocks ("$IF3$ ... $/IF3$") are kept or cut.
// Every change is made in place, so inserted text takes the formatting of the
// placeholder it replaces and everything else of the template stays as it is.
class TemplateFiller
{
public:
    explicit TemplateFiller(QTextDocument &document) : m_document(document) {}

    // Replaces every occurrence of `tag` (matched exactly, with case) by
    // `value`, which takes the character format of the tag's first
    // character.  The search goes on after the inserted value, so a value
    // that contains its own tag is not replaced again.
    void replaceTag(const QString &tag, const QString &value);
    // The same for a placeholder that a template may do without: it is
    // replaced where it stands, but not noted as one the template must hold.
    void replaceOptionalTag(const QString &tag, const QString &value);
    // Replaces several tags in one pass over the document as it is: no
    // value inserted is searched for any of the tags, so a value may hold
    // any text at all.
    void replaceTags(const QVector<QPair<QString, QString>> &tagsAndValues);

    // Replaces every occurrence of `tag` by the number, written to read
    // right where it stands: its power of ten raised; "+ −x" as "− x" and
    // "− −x" as "+ x"; in brackets where the number would otherwise not be
    // taken whole: after "/" or a function's name ("lg"), before an
    // exponent, and a negative one after "·".
    void replaceNumber(const QString &tag, const ReportNumber &number);

    // A value and the limit it is held against, each with the digits that
    // show on which side of the limit the value lies; an empty limit tag
    // for a limit the template writes itself.
    void replaceCompared(const QString &valueTag, const QString &limitTag, double value, double limit);

    // Writes the decimal numbers the document holds with `separator`: the
    // constants of a template's formulas follow the separator of the
    // numbers put in.
    void useDecimalSeparator(const QString &separator);

    // Resolves block n: removes it whole (markers and content) or removes
    // only its two markers.  A block without both markers, or with the close
    // marker first, is left as it is.  A block that is whole paragraphs goes
    // with them: no empty paragraph is left in its place.
    void cutIfBlock(int n, bool removeWholeBlock);

    // The position of the first occurrence of `text` at or after `from`, or -1.
    int find(const QString &text, int from = 0) const;

    QTextDocument &document() { return m_document; }

    // While recording, the placeholders and blocks asked for are noted and
    // the document is left alone: a report's fill run this way lists what
    // its template must hold.
    void setRecording(bool on) { m_recording = on; }
    const QStringList &recordedTags() const { return m_tags; }
    const QVector<int> &recordedBlocks() const { return m_blocks; }

private:
    void removeRange(int start, int length);
    void replaceAt(int position, int length, const QString &value);
    // Puts the number in place of the tag at `position`; returns where the
    // text put in ends.
    int insertNumber(int position, int length, const ReportNumber &number);
    void removeWhole(int start, int end);

    QTextDocument &m_document;
    bool m_recording = false;
    QStringList m_tags;
    QVector<int> m_blocks;
};
