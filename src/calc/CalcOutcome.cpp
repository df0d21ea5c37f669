#include "calc/CalcOutcome.h"

namespace {

struct Words
{
    const char *keyword;
    const char16_t *word;
    const char16_t *summary;
};

Words wordsFor(CalcOutcome::Kind kind)
{
    switch (kind) {
    case CalcOutcome::Kind::Completed:
        return {"completed", u"выполнен", u"расчёт выполнен"};
    case CalcOutcome::Kind::Stopped:
        return {"stopped", u"остановлен", u"расчёт остановлен проверкой входных данных"};
    case CalcOutcome::Kind::DivisionByZero:
        return {"division_by_zero", u"деление на ноль", u"деление на ноль"};
    case CalcOutcome::Kind::Fault:
        return {"fault", u"ошибка", u"ошибка вычисления"};
    }
    return {"", u"", u""};
}

} // namespace

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
    return QString::fromLatin1(wordsFor(m_kind).keyword);
}

QString CalcOutcome::word() const
{
    return QString::fromUtf16(wordsFor(m_kind).word);
}

QString CalcOutcome::summary() const
{
    return QString::fromUtf16(wordsFor(m_kind).summary);
}
