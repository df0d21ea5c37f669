#pragma once

#include "model/Result.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>

class DbQuery;

// One pipe material of table Materials; moduli and strength in MPa.
// Materials 4 and 5 are the fiberglass ones.
struct MaterialRow
{
    std::int32_t TubeMaterialId = 0;
    QString Descr;
    double Eo_MPa = 0.0;
    double Mu = 0.0;
    double Sigmao_MPa = 0.0;
    double Etau_MPa = 0.0;

    // The current row of the query; a failure when a field cannot be read.
    static Result<MaterialRow> read(const DbQuery &query);
    static const QStringList &fieldNames();
    QVariantList values() const;
};
