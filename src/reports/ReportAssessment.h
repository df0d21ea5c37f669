#pragma once

#include "calc/CalcVerdict.h"
#include "calc/CalcWarning.h"

#include <QVector>

class TemplateFiller;

// What every report says about its results beyond the numbers: the warnings
// about values outside the method's range, in a section "Предупреждения" of
// their own ("$IF104$ ... $Warnings$$/IF104$", cut when there is none, one
// paragraph a warning), and, for a static calculation, the verdict that
// closes the conclusions ("$Verdict$"), in the words of the window.
class ReportAssessment
{
public:
    static constexpr int WarningsBlock = 104;

    static void fillWarnings(TemplateFiller &filler, const QVector<CalcWarning> &warnings);
    static void fillVerdict(TemplateFiller &filler, const CalcVerdict &verdict);
};
