#include "richtext/DocumentCopy.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QUrl>

std::unique_ptr<QTextDocument> DocumentCopy::of(const QTextDocument &source)
{
    auto copy = std::make_unique<QTextDocument>();
    copy->setUndoRedoEnabled(false);
    copyPictures(source, *copy);
    QTextCursor cursor(copy.get());
    cursor.beginEditBlock();
    if (source.isEmpty()) {
        const QTextBlock block = source.begin();
        cursor.setBlockFormat(block.blockFormat());
        cursor.setBlockCharFormat(block.charFormat());
    } else {
        cursor.insertFragment(QTextDocumentFragment(&source));
    }
    cursor.endEditBlock();
    copy->rootFrame()->setFrameFormat(source.rootFrame()->frameFormat());
    copy->setIndentWidth(source.indentWidth());
    copy->setDefaultTextOption(source.defaultTextOption());
    copy->setDefaultFont(source.defaultFont());
    copy->setDefaultStyleSheet(source.defaultStyleSheet());
    return copy;
}

void DocumentCopy::copyPictures(const QTextDocument &from, QTextDocument &to)
{
    for (QTextBlock block = from.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QUrl name(format.toImageFormat().name());
            const QVariant picture = from.resource(QTextDocument::ImageResource, name);
            if (picture.isValid())
                to.addResource(QTextDocument::ImageResource, name, picture);
        }
    }
}
