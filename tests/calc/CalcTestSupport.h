#pragma once

#include "calc/FiberglassResults.h"
#include "model/CalcVariables.h"

#include <QStringList>
#include <QVector>

#include <cmath>
#include <functional>
#include <limits>

// Helpers to see which slots a calculation wrote before it stopped.
namespace CalcTestSupport {

// A value no calculation ever produces.
constexpr double Sentinel = -12345.6789;

inline void fill(CalcVariables &vars, const QVector<Slot> &slotList)
{
    for (const Slot s : slotList)
        vars.setValue(s, Sentinel);
}

// The keys of `slotList` that no longer hold the sentinel, in the given order.
inline QStringList written(const CalcVariables &vars, const QVector<Slot> &slotList)
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

// All the values, to check that nothing changed.
inline QVector<double> snapshot(const CalcVariables &vars)
{
    QVector<double> values;
    for (int n = 1; n <= SlotKeys::Count; ++n)
        values << vars.at(n).value();
    return values;
}

// Sets the inputs written as "key=value key=value".
inline void assign(CalcVariables &vars, const QString &assignments)
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

// Values worked out by hand, written "key=value key=value" with nine
// significant figures, against what `actual` gives for each key: a line for
// every value that differs by more than one part in 10^8 (or is not exactly
// 0 where 0 is expected); empty when all agree.
inline QString mismatches(const QString &expected, const std::function<double(const QString &key)> &actual)
{
    QStringList wrong;
    for (const QString &item : expected.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char('='));
        const double want = parts[1].toDouble();
        const double got = actual(parts[0]);
        const bool agrees = want == 0 ? got == 0 : std::fabs(got - want) <= 1e-8 * std::fabs(want);
        if (!agrees)
            wrong << QStringLiteral("%1: %2, expected %3").arg(parts[0]).arg(got, 0, 'g', 12).arg(parts[1]);
    }
    return wrong.join(QLatin1Char('\n'));
}

// The values of the variables by key, for mismatches(); no number for a key
// that names no variable.
inline std::function<double(const QString &)> slotsOf(const CalcVariables &vars)
{
    return [&vars](const QString &key) {
        const std::optional<Slot> slot = SlotKeys::fromKey(key);
        return slot ? vars.value(*slot) : std::numeric_limits<double>::quiet_NaN();
    };
}

// The fields of a fiberglass run by name, for mismatches().
inline std::function<double(const QString &)> fieldsOf(const FiberglassResults &results)
{
    return [&results](const QString &name) {
        for (const FiberglassResults::Field &field : FiberglassResults::fields()) {
            if (name == QLatin1String(field.name))
                return results.*field.member;
        }
        return std::numeric_limits<double>::quiet_NaN();
    };
}

} // namespace CalcTestSupport
