#include "cli/TextTable.h"

#include <algorithm>

QString TextTable::format(const QVector<QStringList> &rows)
{
    QVector<int> widths;
    for (const QStringList &row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (int c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], static_cast<int>(row[c].size()));
    }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c) {
            if (c + 1 < row.size())
                line += row[c].leftJustified(widths[c] + 2);
            else
                line += row[c];
        }
        text += line.trimmed() + QLatin1Char('\n');
    }
    return text;
}
