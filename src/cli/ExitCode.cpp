#include "cli/ExitCode.h"

#include "calc/CalcOutcome.h"

int ExitCode::of(const CalcOutcome &outcome)
{
    switch (outcome.kind()) {
    case CalcOutcome::Kind::Completed:
        return Success;
    case CalcOutcome::Kind::Stopped:
        return Stopped;
    case CalcOutcome::Kind::DivisionByZero:
        return DivisionByZero;
    case CalcOutcome::Kind::Fault:
        return Fault;
    }
    return Fault;
}
