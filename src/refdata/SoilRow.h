#pragma once

#include "model/Result.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>

class DbQuery;

// One soil of table Soiles.
struct SoilRow
{
    std::int32_t SoilId = 0;
    QString Descr;
    double Gamma_kN_m3 = 0.0;
    double Egr_MPa = 0.0;
    double Fi = 0.0;
    double Kk = 0.0;

    // The current row of the query; a failure when a field cannot be read.
    static Result<SoilRow> read(const DbQuery &query);
    static const QStringList &fieldNames();
    QVariantList values() const;
};
