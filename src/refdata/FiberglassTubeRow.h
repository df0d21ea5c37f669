#pragma once

#include "model/Result.h"

#include <QStringList>
#include <QVariant>

class DbQuery;

// One fiberglass tube of table TubesSt, all in metres: the mean diameter,
// the thickness of a fiberglass layer and the distance between the layers.
struct FiberglassTubeRow
{
    double D = 0.0;
    double s = 0.0;
    double t = 0.0;

    // The current row of the query; a failure when a field cannot be read.
    static Result<FiberglassTubeRow> read(const DbQuery &query);
    static const QStringList &fieldNames();
    QVariantList values() const;
};
