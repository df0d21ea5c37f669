#pragma once

#include "calc/CalcKind.h"
#include "calc/FiberglassChoices.h"
#include "calc/CalcWarning.h"
#include "model/SlotKeys.h"

#include <QVector>

class CalcVariables;

// The ranges of inputs and results within which the methods of the
// calculations mean something, in one table.  A value outside its range does
// not stop a calculation: the run completes, and the warnings say which value
// it was and why it is doubtful (most often a value typed in other units than
// the grid asks for).  Each row of the table gives its reason where it is
// written down.
class PlausibleRanges
{
public:
    // The calculations a row applies to.
    enum Scope : unsigned { Hydraulic = 1, Static = 2, Fiberglass = 4 };
    // When a row applies within its calculations.
    enum class When {
        Always,
        Trenchless,     // fiberglass pipe laid without a trench
        ThreeLayerWall, // fiberglass pipe with a three-layer wall
        NoTraffic,      // fiberglass pipe with no axle mass or no wheel area
    };
    enum class Bound {
        Above,    // the value must not exceed the limit
        Below,    // the value must not fall short of the limit
        NotAbove, // the value must exceed the limit; the hint says why
    };
    struct Row
    {
        Slot slot; // the input or result judged
        unsigned scope;
        When when;
        Bound bound;
        double limit;
        // What the user may have done, or why the value makes no sense;
        // may be empty for Above and Below.
        const char16_t *hint;
        // The input to look at, where it is not the value judged itself.
        Slot blame = Slot::None;
    };

    static const QVector<Row> &rows();

    // The warnings of a completed run, whose inputs and results the
    // variables hold: at most one for each value judged, in the order of
    // the table.  The laying method and the wall construction matter to the
    // fiberglass calculation only.
    static QVector<CalcWarning> warnings(const CalcVariables &vars, CalcKind kind, Laying laying, Wall wall);

    // The message of a row for the value the variables hold.
    static QString message(const Row &row, const CalcVariables &vars);
};
