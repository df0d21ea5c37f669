#include "refdata/DbQuery.h"

#include "refdata/DatabaseError.h"
#include "refdata/DbConnection.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void failColumn(const QString &message)
{
    throw DatabaseError(DatabaseError::Kind::Column, message);
}

bool parseNumber(const QString &text, double *number)
{
    bool ok = false;
    *number = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*number);
}

struct Condition
{
    QString column;
    QVariant value; // a double or a QString
};

Condition parseCondition(const QString &expression)
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*(\[[^\]]+\]|[^\W\d]\w*)\s*=\s*(?:'((?:[^']|'')*)'|([-+]?[0-9.]+(?:[eE][-+]?[0-9]+)?))\s*$)"),
        QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = re.match(expression);
    double number = 0.0;
    if (!match.hasMatch() || (match.capturedLength(3) > 0 && !parseNumber(match.captured(3), &number))) {
        throw DatabaseError(DatabaseError::Kind::Query,
                            QStringLiteral("Неверное условие отбора строк: %1").arg(expression));
    }
    QString column = match.captured(1);
    if (column.startsWith(QLatin1Char('[')))
        column = column.mid(1, column.size() - 2);
    if (match.capturedLength(3) > 0)
        return {column, QVariant(number)};
    return {column, QVariant(match.captured(2).replace(QLatin1String("''"), QLatin1String("'")))};
}

bool passes(const QVariant &cell, const QVariant &wanted)
{
    if (cell.isNull())
        return false;
    if (wanted.typeId() == QMetaType::Double) {
        double number = 0.0;
        if (cell.typeId() == QMetaType::QString)
            return parseNumber(cell.toString(), &number) && number == wanted.toDouble();
        return cell.toDouble() == wanted.toDouble();
    }
    return cell.toString().compare(wanted.toString(), Qt::CaseInsensitive) == 0;
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

void DbQuery::open()
{
    close();
    if (!m_connection || !m_connection->isOpen())
        throw DatabaseError(DatabaseError::Kind::Query, QStringLiteral("Нет подключения к базе данных"));
    m_result = m_connection->execute(m_sql);
    m_active = true;
    m_visible = visibleRows(m_filter, m_filtered);
    m_position = 0;
}

void DbQuery::close()
{
    m_active = false;
    m_result = DbResult();
    m_visible.clear();
    m_position = 0;
}

int DbQuery::recordCount() const
{
    return m_visible.size();
}

void DbQuery::first()
{
    m_position = 0;
}

void DbQuery::next()
{
    if (m_position < m_visible.size())
        ++m_position;
}

bool DbQuery::eof() const
{
    return m_position >= m_visible.size();
}

bool DbQuery::hasColumn(const QString &column) const
{
    return m_result.columnIndex(column) >= 0;
}

const QVariant &DbQuery::current(const QString &column) const
{
    const int index = m_result.columnIndex(column);
    if (index < 0)
        failColumn(QStringLiteral("нет столбца %1").arg(column));
    if (eof())
        throw DatabaseError(DatabaseError::Kind::Query, QStringLiteral("Нет текущей строки"));
    return m_result.rows[m_visible[m_position]][index];
}

QVariant DbQuery::value(const QString &column) const
{
    return current(column);
}

double DbQuery::asDouble(const QString &column) const
{
    const QVariant &cell = current(column);
    switch (cell.typeId()) {
    case QMetaType::UnknownType:
        return 0.0; // NULL
    case QMetaType::LongLong:
    case QMetaType::Double:
        return cell.toDouble();
    case QMetaType::QString: {
        double number = 0.0;
        if (cell.toString().trimmed().isEmpty())
            return 0.0;
        if (parseNumber(cell.toString(), &number))
            return number;
        break;
    }
    default:
        break;
    }
    failColumn(QStringLiteral("в столбце %1 не число: «%2»").arg(column, cell.toString()));
}

std::int32_t DbQuery::asInteger(const QString &column) const
{
    const double number = asDouble(column);
    const double rounded = std::round(number);
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
        failColumn(QStringLiteral("в столбце %1 слишком большое число: %2").arg(column).arg(number));
    return static_cast<std::int32_t>(rounded);
}

QString DbQuery::asText(const QString &column) const
{
    const QVariant &cell = current(column);
    if (cell.isNull())
        return QString();
    switch (cell.typeId()) {
    case QMetaType::Double:
        return QString::number(cell.toDouble(), 'g', 15);
    case QMetaType::QByteArray:
        return QString::fromUtf8(cell.toByteArray());
    default:
        return cell.toString();
    }
}

void DbQuery::setFilter(const QString &expression)
{
    m_visible = visibleRows(expression, m_filtered);
    m_position = 0;
    m_filter = expression;
}

void DbQuery::setFiltered(bool on)
{
    m_visible = visibleRows(m_filter, on);
    m_position = 0;
    m_filtered = on;
}

QVector<int> DbQuery::visibleRows(const QString &expression, bool filtered) const
{
    int column = -1;
    Condition condition;
    if (filtered && !expression.trimmed().isEmpty() && m_active) {
        condition = parseCondition(expression);
        column = m_result.columnIndex(condition.column);
        if (column < 0)
            failColumn(QStringLiteral("нет столбца %1").arg(condition.column));
    }
    QVector<int> rows;
    for (int r = 0; r < m_result.rows.size(); ++r) {
        if (column < 0 || passes(m_result.rows[r][column], condition.value))
            rows.append(r);
    }
    return rows;
}
