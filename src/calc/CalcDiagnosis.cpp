#include "calc/CalcDiagnosis.h"

#include "calc/CalcFault.h"
#include "model/CalcVariables.h"

#include <cmath>
#include <cstring>

CalcDiagnosis::CalcDiagnosis(const CalcVariables &vars, QVector<const char *> steps, QVector<Rule> rules,
                             Describe describe)
    : m_vars(vars), m_steps(std::move(steps)), m_rules(std::move(rules)),
      m_describe(describe ? std::move(describe) : slotLabels(vars))
{}

QString CalcDiagnosis::label(const Variable &variable)
{
    const QString name = variable.shownName();
    const QString description = QStringLiteral("«%1»").arg(variable.description());
    return name.isEmpty() ? description : QStringLiteral("%1 (%2)").arg(name, description);
}

CalcDiagnosis::Describe CalcDiagnosis::slotLabels(const CalcVariables &vars)
{
    return [&vars](const QString &key) {
        const auto slot = SlotKeys::fromKey(key);
        return slot ? label(vars[*slot]) : key;
    };
}

int CalcDiagnosis::stepIndex(const char *step) const
{
    for (int i = 0; i < m_steps.size(); ++i) {
        if (std::strcmp(m_steps[i], step) == 0)
            return i;
    }
    return -1;
}

bool CalcDiagnosis::breaks(const Rule &rule) const
{
    const double value = m_vars.value(rule.input);
    switch (rule.test) {
    case Test::Positive:
        return !(value > 0.0);
    case Test::NotNegative:
        return !(value >= 0.0);
    case Test::BelowOneInMagnitude:
        return !(std::fabs(value) < 1.0);
    case Test::AboveInnerDiameter:
        return !(value > m_vars.value(Slot::Din));
    case Test::AtMostOne:
        return !(value <= 1.0);
    }
    return false;
}

QString CalcDiagnosis::requirement(const Rule &rule) const
{
    switch (rule.test) {
    case Test::Positive:
        return QStringLiteral("должно быть больше нуля");
    case Test::NotNegative:
        return QStringLiteral("не может быть отрицательным");
    case Test::BelowOneInMagnitude:
        return QStringLiteral("должно быть по модулю меньше 1");
    case Test::AboveInnerDiameter:
        return QStringLiteral("должно быть больше внутреннего диаметра %1 (%2)")
            .arg(m_vars[Slot::Din].shownName(), m_vars[Slot::Din].formatValue());
    case Test::AtMostOne:
        return QStringLiteral("не может быть больше 1");
    }
    return QString();
}

CalcOutcome CalcDiagnosis::stopped(Slot input, Test test) const
{
    const Variable &variable = m_vars[input];
    const QString message = QStringLiteral("Расчёт остановлен: значение %1 %2, а задано %3.")
                                .arg(label(variable), requirement({input, test, nullptr}), variable.formatValue());
    return CalcOutcome::stopped(SlotKeys::key(input), message);
}

CalcOutcome CalcDiagnosis::fault(const CalcFault &fault) const
{
    const QString computing = m_step ? QString::fromLatin1(m_step) : QString();
    const QString what = m_describe(computing);
    // The message says what was being computed and, where it is plain, which
    // input caused it; the arithmetic's own words come last, for whoever
    // wants them.
    QString message;
    switch (fault.kind()) {
    case CalcFault::Kind::DivisionByZero:
        message = QStringLiteral("Ошибка. Деление на ноль при вычислении %1.").arg(what);
        break;
    case CalcFault::Kind::InvalidOperation:
        message = QStringLiteral("Ошибка. Недопустимая операция при вычислении %1.").arg(what);
        break;
    case CalcFault::Kind::Overflow:
        message = QStringLiteral("Ошибка. Переполнение при вычислении %1.").arg(what);
        break;
    case CalcFault::Kind::NotConverged:
        message = QStringLiteral("Ошибка. Итерация не сошлась при вычислении %1.").arg(what);
        break;
    }

    QString variable;
    const int at = m_step ? stepIndex(m_step) : -1;
    for (const Rule &rule : m_rules) {
        const int from = stepIndex(rule.from);
        if (from < 0 || from > at || !breaks(rule))
            continue;
        const Variable &input = m_vars[rule.input];
        variable = SlotKeys::key(rule.input);
        message += QStringLiteral(" Причина: значение %1 %2, а задано %3.")
                       .arg(label(input), requirement(rule), input.formatValue());
        if (rule.tubeDiameter)
            message += QStringLiteral(" Выберите трубу на странице «Труба» или введите диаметр.");
        break;
    }
    if (variable.isEmpty())
        message += QStringLiteral(" Проверьте исходные данные.");
    if (fault.kind() != CalcFault::Kind::DivisionByZero && !fault.message().isEmpty())
        message += QStringLiteral(" Подробности: %1.").arg(fault.message());

    const CalcOutcome::Kind kind =
        fault.kind() == CalcFault::Kind::DivisionByZero ? CalcOutcome::Kind::DivisionByZero : CalcOutcome::Kind::Fault;
    return CalcOutcome::failed(kind, computing, variable, message);
}
