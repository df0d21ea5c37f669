#include "model/TableExport.h"

#include "model/SafeFileWriter.h"

QString TableExport::csvLine(const QStringList &cells, QChar separator)
{
    QStringList quoted;
    quoted.reserve(cells.size());
    for (const QString &cell : cells) {
        const bool needsQuotes = cell.contains(separator) || cell.contains(QLatin1Char('"'))
                                 || cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'));
        if (!needsQuotes) {
            quoted << cell;
            continue;
        }
        QString text = cell;
        text.replace(QLatin1Char('"'), QLatin1String("\"\""));
        quoted << QLatin1Char('"') + text + QLatin1Char('"');
    }
    return quoted.join(separator);
}

QByteArray TableExport::csv(const QVector<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows)
        text += csvLine(row, QChar(CsvSeparator)) + QLatin1String("\r\n");
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString TableExport::tabSeparated(const QVector<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList cells;
        cells.reserve(row.size());
        for (QString cell : row) {
            cell.replace(QLatin1Char('\t'), QLatin1Char(' '));
            cell.replace(QLatin1Char('\r'), QLatin1Char(' '));
            cell.replace(QLatin1Char('\n'), QLatin1Char(' '));
            cells << cell;
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

Result<> TableExport::saveCsv(const QString &path, const QVector<QStringList> &rows)
{
    return SafeFileWriter::writeFile(path, csv(rows));
}
