#pragma once

#include "model/Result.h"
#include "model/SlotKeys.h"

#include <QString>
#include <QVector>

// The values one input takes in a sweep: FROM, FROM + STEP, ... as far as
// TO.  The values are worked out in decimal, so that 0.1:1:0.1 gives the ten
// values 0.1, 0.2, ..., 1 and each of them is the very number a user typing
// it would set (0.3, not 0.30000000000000004).
class SweepRange
{
public:
    SweepRange() = default;

    // The range of an input; a failure with the reason in Russian when the
    // step is zero or leads away from TO, a number is not finite, the
    // distance from FROM to TO is beyond the doubles, or the range holds
    // more than `maxCount` values.  No value lies beyond TO.
    static Result<SweepRange> make(Slot slot, double from, double to, double step, qint64 maxCount);
    // "KEY=FROM:TO:STEP" with numbers written with a point, an optional sign
    // and exponent.
    static Result<SweepRange> parse(const QString &text, qint64 maxCount);

    Slot slot() const { return m_slot; }
    qint64 count() const { return m_count; }
    // The value number i, 0 <= i < count().
    double value(qint64 i) const;
    QVector<double> values() const;

private:
    Slot m_slot = Slot::None;
    double m_from = 0;
    double m_to = 0;
    double m_step = 0;
    qint64 m_count = 0;
    // The range in units of 10^-decimals, when it is exact so; otherwise
    // decimals is -1 and the values are FROM + i * STEP.
    int m_decimals = -1;
    qint64 m_scaledFrom = 0;
    qint64 m_scaledStep = 0;
};
