#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class CalcVariables;
class TemplateFiller;

// The static report of a corrugated pipe: inputs, intermediate values and
// results, some in other units, the three verdicts and the names of the
// chosen soil and material.  Where the traffic load or the ground water is
// switched off (no axle mass, no ground-water level) the report says so in
// words: blocks 1 and 2 hold the text with and without traffic; block 3 the
// ground-water pressure, block 4 the text without ground water and block 7
// that with a water table not above the depth of laying; blocks 5 and 6 the
// soil load with and without ground water.
class StaticReport
{
public:
    // The title line of the report page above this report.
    static QString title() { return QStringLiteral("Статический расчёт трубопровода Велтра-Норлекс"); }
    static constexpr const char *TemplateName = "StaticReport.rtf";

    using NameLookup = std::function<QString(std::int32_t id)>;

    // The lookups give the soil's and the material's description by id;
    // they are called at their turn among the placeholders.
    static void fill(TemplateFiller &filler, const CalcVariables &vars, const NameLookup &soilName,
                     const NameLookup &materialName);

    // The sign and negation texts of a verdict.
    static QString sign(bool holds) { return holds ? QStringLiteral("<=") : QStringLiteral(">"); }
    static QString negation(bool holds) { return holds ? QString() : QStringLiteral("не "); }
    // The relation as it is printed in the text of the report: "≤" or ">".
    static QString relation(bool holds) { return holds ? QStringLiteral("≤") : QStringLiteral(">"); }
};
