#pragma once

#include "model/SlotKeys.h"

#include <QString>
#include <QVector>

// The rows that the input and output grids list for each calculation.
enum class CalcView { Hydraulic, Static, Fiberglass };

class CalcViews
{
public:
    // The input rows of a view; the fiberglass view lists `fi` and `Kk` only
    // for trenchless laying.
    static QVector<Slot> inputRows(CalcView view, bool trenchless = false);
    static QVector<Slot> outputRows(CalcView view);
    // The text of the header strip for the view.
    static QString headerText(CalcView view);
};
