#pragma once

#include <QStringList>
#include <QVector>

// Rows of texts as aligned columns, two blanks apart, one line a row.
class TextTable
{
public:
    static QString format(const QVector<QStringList> &rows);
};
