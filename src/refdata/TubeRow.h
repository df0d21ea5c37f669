#pragma once

#include "model/Result.h"

#include <QStringList>
#include <QVariant>

class DbQuery;

// One corrugated tube of table Tubes: diameters in metres, wall and
// corrugation in millimetres.
struct TubeRow
{
    double Din = 0.0;
    double Dout = 0.0;
    double s = 0.0;
    double Lv = 0.0;
    double Lsh = 0.0;

    // The current row of the query; a failure when a field cannot be read.
    static Result<TubeRow> read(const DbQuery &query);
    // The columns of the record in record order, and the values of a row in
    // the same order.
    static const QStringList &fieldNames();
    QVariantList values() const;
};
