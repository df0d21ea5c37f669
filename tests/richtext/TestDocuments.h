#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QTextDocument;
class QTextCharFormat;

// Helpers shared by the rich-text tests.
class TestDocuments
{
public:
    // A small RTF document around body: Windows-1251, fonts Arial (f0),
    // Courier New (f1), Symbol (f2), colours red (1) and blue (2).
    static QByteArray rtf(const QByteArray &body);
    // The document read from RTF (a failed read fails the test's QVERIFY
    // through the returned flag).
    static bool readRtf(const QByteArray &rtf, QTextDocument &document);
    // The document's text as the plain-text writer gives it.
    static QString text(const QTextDocument &document);
    // The character format at the first occurrence of needle.
    static QTextCharFormat formatAt(const QTextDocument &document, const QString &needle);
    // A picture with a few colours, and its PNG file as hexadecimal digits.
    static QImage picture(int width, int height);
    static QByteArray pngHex(const QImage &image);
    // A rich document: Cyrillic runs in bold and italic, sizes and colours,
    // centred and indented paragraphs, bullets and numbering, a table with
    // merged cells and a picture.
    static void fillRich(QTextDocument &document);
    // What another word processor must read of a document as we mean it:
    // "Вторая страница" starts a new page; the words "светлый", "обычный",
    // "средний", "полужирный", "жирный" and "чёрный" stand in the weights
    // Light, Normal, Medium, DemiBold, Bold and Black; the list items
    // "маркер один" and "маркер два" (bullets, left margin of 30 pixels),
    // "номер один" (numbered, its list indented one step of 40 pixels) and
    // "узкий отступ" (numbered, left margin of 10 pixels).
    static void fillLayoutCases(QTextDocument &document);
};
