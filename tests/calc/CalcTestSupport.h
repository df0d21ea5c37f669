#pragma once

#include "model/TCalcVariables.h"

#include <QStringList>
#include <QVector>

#include <cmath>

// Helpers to see which slots a calculation wrote before it stopped.
namespace CalcTestSupport {

// A value no calculation ever produces.
constexpr double Sentinel = -12345.6789;

inline void fill(TCalcVariables &vars, const QVector<Slot> &slotList)
{
    for (const Slot s : slotList)
        vars.setValue(s, Sentinel);
}

// The keys of `slotList` that no longer hold the sentinel, in the given order.
inline QStringList written(const TCalcVariables &vars, const QVector<Slot> &slotList)
{
    QStringList keys;
    for (const Slot s : slotList) {
        if (vars.value(s) != Sentinel)
            keys << SlotKeys::key(s);
    }
    return keys;
}

inline QStringList keys(const QVector<Slot> &slotList, int count)
{
    QStringList out;
    for (int i = 0; i < count && i < slotList.size(); ++i)
        out << SlotKeys::key(slotList[i]);
    return out;
}

// All 97 values, to check that nothing changed.
inline QVector<double> snapshot(const TCalcVariables &vars)
{
    QVector<double> values;
    for (int n = 1; n <= SlotKeys::Count; ++n)
        values << vars.at(n).GetValue();
    return values;
}

// Sets the inputs written as "key=value key=value".
inline void assign(TCalcVariables &vars, const QString &assignments)
{
    for (const QString &assignment : assignments.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = assignment.split(QLatin1Char('='));
        vars.setValue(*SlotKeys::fromKey(parts[0]), parts[1].toDouble());
    }
}

// |actual - expected| within the precision the expected value is quoted with.
inline bool near(double actual, double expected, double tolerance)
{
    return std::fabs(actual - expected) <= tolerance;
}

} // namespace CalcTestSupport
