#include "calc/CalcOutcome.h"

#include "calc/CalcFault.h"
#include "model/MessageText.h"

CalcOutcome CalcOutcome::fromFault(const CalcFault &fault)
{
    if (fault.kind() == CalcFault::Kind::DivisionByZero)
        return CalcOutcome(Kind::DivisionByZero, QString());
    return CalcOutcome(Kind::Fault, fault.message());
}

QString CalcOutcome::displayText() const
{
    switch (m_kind) {
    case Kind::Completed:
    case Kind::Stopped:
        return QString();
    case Kind::DivisionByZero:
        return MessageText::divisionByZero();
    case Kind::Fault:
        return MessageText::withFullStop(m_message);
    }
    return QString();
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
