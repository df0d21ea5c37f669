#pragma once

#include <QPair>
#include <QString>
#include <QVector>

// A connection string of the form "Key=Value;Key=Value;": every part ends
// with ";".  A value that holds ";", a quote or leading or trailing blanks is
// written in double quotes, with each double quote inside doubled, so that a
// file path can hold any character.
class ConnectionString
{
public:
    using Part = QPair<QString, QString>;

    static QString compose(const QVector<Part> &parts);
    // The parts in order; keys keep their case.
    static QVector<Part> parse(const QString &text);
    // The value of a key, compared without case; empty when absent.
    static QString value(const QString &text, const QString &key);
};
