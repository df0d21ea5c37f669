#pragma once

#include <QString>

#include <exception>

// An arithmetic fault that ends a calculation at the step where it happens.
class CalcFault : public std::exception
{
public:
    enum class Kind {
        DivisionByZero,   // a non-zero number over zero, the logarithm of zero, 0 to a negative power
        InvalidOperation, // 0/0, a root, logarithm or fractional power of a negative number
        Overflow,
        NotConverged, // an iteration that did not settle
    };

    CalcFault(Kind kind, QString message) : m_kind(kind), m_message(std::move(message)) {}

    Kind kind() const { return m_kind; }
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return "calculation fault"; }

private:
    Kind m_kind;
    QString m_message;
};
