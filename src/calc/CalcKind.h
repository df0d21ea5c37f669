#pragma once

#include "model/CalcViews.h"

#include <QString>

// The three calculations of the program.
enum class CalcKind { Hydraulic, Static, Fiberglass };

namespace CalcKinds {
// "hydraulic", "static", "fiberglass": the names the command line and the
// project files use.
QString name(CalcKind kind);
// The kind of a name; false for an unknown name.
bool fromName(const QString &name, CalcKind *kind);
// The view that lists a calculation's inputs and outputs, and back.
CalcView view(CalcKind kind);
CalcKind ofView(CalcView view);
} // namespace CalcKinds
