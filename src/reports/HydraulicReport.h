#pragma once

#include <QString>

class CalcVariables;
class TemplateFiller;

// The hydraulic report: the inputs and results of the hydraulic calculation
// as the variables hold them, each in its own display format.
class HydraulicReport
{
public:
    // The title line of the report page above this report.
    static QString title() { return QStringLiteral("Гидравлический расчёт трубопровода Велтра-Норлекс"); }
    static constexpr const char *TemplateName = "HydraulicReport.rtf";

    static void fill(TemplateFiller &filler, const CalcVariables &vars);
};
