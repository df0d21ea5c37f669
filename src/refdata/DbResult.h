#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>

// The complete result of one statement: its column names and its rows in
// the order the database returned them.  A value is a null QVariant for
// NULL, otherwise a qint64, a double, a QString or a QByteArray.
struct DbResult
{
    QStringList columns;
    QVector<QVector<QVariant>> rows;

    // The position of a column, its name compared without case as the
    // databases do; -1 when there is none.
    int columnIndex(const QString &name) const;
};
