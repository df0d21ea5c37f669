#include "model/TVariable.h"

#include "model/NumberFormat.h"

QString TVariable::FormatValue() const
{
    return NumberFormat::format(m_format, m_value);
}

QString TVariable::FormatScaled(double factor) const
{
    const long double product = static_cast<long double>(m_value) * static_cast<long double>(factor);
    return NumberFormat::formatExtended(m_format, product);
}
