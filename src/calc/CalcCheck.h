#pragma once

#include <QString>
#include <QVector>

class CalcVariables;
struct FiberglassResults;

// One check of a static calculation: a value held against its limit.  The
// check holds when the value does not exceed the limit (equality holds), by
// the same comparison the report prints its verdict from.
struct CalcCheck
{
    // "strength", "stability", "stability_traffic", "ovality".
    QString key;
    // What is checked, in Russian ("Прочность", "Устойчивость с учётом
    // транспорта").
    QString title;
    // The value and the limit as the user reads them ("qвн", "qуст"; the
    // limit's name is empty where the limit is a fixed number) and the units
    // both are shown in ("МПа"; empty for none).
    QString valueName;
    QString limitName;
    QString units;
    double value = 0;
    double limit = 0;
    // value / limit (1 is the limit), worked out from the unrounded
    // quantities; not a number when the limit is not above zero.
    double utilisation = 0;
    bool holds = false;

    // The three checks of a corrugated pipe, from the results in the
    // variables: strength S_cond <= 1, stability without traffic qvn <= qust
    // and with traffic qvntr <= qust.
    static QVector<CalcCheck> corrugated(const CalcVariables &vars);
    // The three checks of a fiberglass pipe from one run: strength
    // Mras <= Mpr, ovality psi <= 0.05, stability Qc + Qgv <= Gy.
    static QVector<CalcCheck> fiberglass(const FiberglassResults &results);

    // The ratio of a value to its limit as utilisation counts it.
    static double ratio(double value, double limit);
    // A utilisation in per cent as the user reads it: "58,4 %"; "—" when
    // there is no ratio.
    static QString percentText(double utilisation);
};
