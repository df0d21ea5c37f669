#include "DocumentDigest.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace {

void addBlock(const QTextBlock &block, QString &out)
{
    if (QTextList *list = block.textList()) {
        const QTextListFormat::Style style = list->format().style();
        if (style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
            || style == QTextListFormat::ListSquare)
            out += QStringLiteral("[bullet %1] ").arg(int(style));
        else
            out += QLatin1Char('[') + list->itemText(block) + QStringLiteral("] ");
    }
    out += block.text() + QLatin1Char('\n');
}

void addItems(QTextFrame::iterator it, QString &out)
{
    for (; !it.atEnd(); ++it) {
        QTextFrame *frame = it.currentFrame();
        if (!frame) {
            addBlock(it.currentBlock(), out);
            continue;
        }
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table) {
            addItems(frame->begin(), out);
            continue;
        }
        out += QStringLiteral("table %1x%2, %3 header rows\n")
                   .arg(table->rows())
                   .arg(table->columns())
                   .arg(table->format().headerRowCount());
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                out += QStringLiteral("cell %1,%2 %3x%4\n").arg(r).arg(c).arg(cell.rowSpan()).arg(cell.columnSpan());
                addItems(cell.begin(), out);
            }
        }
        out += QStringLiteral("end of table\n");
    }
}

} // namespace

QString DocumentDigest::of(const QTextDocument &document)
{
    QString out;
    addItems(document.rootFrame()->begin(), out);
    return out;
}
