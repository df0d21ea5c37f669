#pragma once

#include "model/Result.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QVector>

// A table of the window handed on: rows of cell texts, the first row the
// header, as a spreadsheet takes them.
//  - On the clipboard: tab-separated, one line a row, which pastes into the
//    cells of a spreadsheet.
//  - As a CSV file: UTF-8 with a byte order mark, ";" between the cells, as
//    a spreadsheet set up for Russian opens a file, lines ended by CR LF.
// Numbers are written by the caller with the program's decimal separator
// and without units or digit grouping, so that a spreadsheet reads them as
// numbers.
class TableExport
{
public:
    static constexpr char16_t CsvSeparator = u';';

    // The cells joined by the separator; a cell that holds the separator, a
    // quotation mark or a line break is quoted, its quotation marks doubled.
    static QString csvLine(const QStringList &cells, QChar separator);
    static QByteArray csv(const QVector<QStringList> &rows);
    // Tabs and line breaks inside a cell become blanks: the clipboard has no
    // quoting that every spreadsheet reads.
    static QString tabSeparated(const QVector<QStringList> &rows);

    // Writes the CSV all or nothing (a failure leaves a former file as it
    // was); a failure carries the reason in Russian.
    static Result<> saveCsv(const QString &path, const QVector<QStringList> &rows);
};
