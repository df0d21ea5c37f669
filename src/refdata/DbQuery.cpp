#include "refdata/DbQuery.h"

#include "refdata/DbConnection.h"

#include <cmath>
#include <limits>

namespace {

bool parseNumber(const QString &text, double *number)
{
    bool ok = false;
    *number = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*number);
}

} // namespace

void DbQuery::setConnection(DbConnection *connection)
{
    close();
    m_connection = connection;
}

void DbQuery::setSql(const QString &sql)
{
    close();
    m_sql = sql;
}

Result<> DbQuery::open()
{
    close();
    if (!m_connection || !m_connection->isOpen())
        return Result<>::failure(QStringLiteral("Нет подключения к базе данных"));
    Result<DbResult> result = m_connection->execute(m_sql);
    if (!result)
        return result.status();
    m_result = std::move(*result);
    m_active = true;
    m_position = 0;
    return {};
}

void DbQuery::close()
{
    m_active = false;
    m_result = DbResult();
    m_position = 0;
}

int DbQuery::recordCount() const
{
    return m_active ? int(m_result.rows.size()) : 0;
}

void DbQuery::first()
{
    m_position = 0;
}

void DbQuery::next()
{
    if (m_position < recordCount())
        ++m_position;
}

bool DbQuery::eof() const
{
    return m_position >= recordCount();
}

bool DbQuery::hasColumn(const QString &column) const
{
    return m_result.columnIndex(column) >= 0;
}

Result<QVariant> DbQuery::value(const QString &column) const
{
    const int index = m_result.columnIndex(column);
    if (index < 0)
        return Result<QVariant>::failure(QStringLiteral("нет столбца %1").arg(column));
    if (eof())
        return Result<QVariant>::failure(QStringLiteral("Нет текущей строки"));
    return m_result.rows[m_position][index];
}

Result<double> DbQuery::asDouble(const QString &column) const
{
    const Result<QVariant> cell = value(column);
    if (!cell)
        return cell.status();
    switch (cell->typeId()) {
    case QMetaType::UnknownType:
        return 0.0; // NULL
    case QMetaType::LongLong:
    case QMetaType::Double:
        return cell->toDouble();
    case QMetaType::QString: {
        double number = 0.0;
        if (cell->toString().trimmed().isEmpty())
            return 0.0;
        if (parseNumber(cell->toString(), &number))
            return number;
        break;
    }
    default:
        break;
    }
    return Result<double>::failure(QStringLiteral("в столбце %1 не число: «%2»").arg(column, cell->toString()));
}

Result<std::int32_t> DbQuery::asInteger(const QString &column) const
{
    const Result<double> number = asDouble(column);
    if (!number)
        return number.status();
    const double rounded = std::round(*number);
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
        return Result<std::int32_t>::failure(
            QStringLiteral("в столбце %1 слишком большое число: %2").arg(column).arg(*number));
    return static_cast<std::int32_t>(rounded);
}

Result<QString> DbQuery::asText(const QString &column) const
{
    const Result<QVariant> cell = value(column);
    if (!cell)
        return cell.status();
    if (cell->isNull())
        return QString();
    switch (cell->typeId()) {
    case QMetaType::Double:
        return QString::number(cell->toDouble(), 'g', 15);
    case QMetaType::QByteArray:
        return QString::fromUtf8(cell->toByteArray());
    default:
        return cell->toString();
    }
}
