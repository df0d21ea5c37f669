#include "calc/CalcOutcome.h"

CalcOutcome CalcOutcome::stopped(const QString &variable, const QString &message)
{
    CalcOutcome outcome(Kind::Stopped);
    outcome.m_variable = variable;
    outcome.m_message = message;
    return outcome;
}

CalcOutcome CalcOutcome::failed(Kind kind, const QString &computing, const QString &variable, const QString &message)
{
    CalcOutcome outcome(kind);
    outcome.m_computing = computing;
    outcome.m_variable = variable;
    outcome.m_message = message;
    return outcome;
}

QString CalcOutcome::keyword() const
{
    switch (m_kind) {
    case Kind::Completed:
        return QStringLiteral("completed");
    case Kind::Stopped:
        return QStringLiteral("stopped");
    case Kind::DivisionByZero:
        return QStringLiteral("division_by_zero");
    case Kind::Fault:
        return QStringLiteral("fault");
    }
    return QString();
}
