#pragma once

#include "calc/CalcCheck.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

class QLabel;
class QTableWidget;

// The verdict of a static calculation at a glance: each check with its
// value against its limit, the utilisation in percent and whether it holds,
// said by a word and a colour alike.  Results that are outdated are greyed;
// without current or outdated results only the names of the checks stand.
class VerdictPanel : public QWidget
{
    Q_OBJECT

public:
    enum class Shown { Current, Outdated, Hidden };
    enum Column { ColumnCheck, ColumnCondition, ColumnUtilisation, ColumnVerdict, ColumnCount };

    explicit VerdictPanel(QWidget *parent = nullptr);

    void setChecks(const QVector<CalcCheck> &checks, Shown shown);
    const QVector<CalcCheck> &checks() const { return m_checks; }
    Shown shown() const { return m_shown; }

    QTableWidget *table() const { return m_table; }
    // The checks as a table to hand on: the header, then each check with
    // its value, limit, units, utilisation in per cent and verdict as plain
    // numbers and words; only the names while no results are shown.
    QVector<QStringList> tableRows() const;

    // The text of a cell as shown.
    QString cellText(int row, int column) const;

    // "0,1078 ≤ 0,2514 МПа"; ">" where the check fails.
    static QString conditionText(const CalcCheck &check);
    static QString verdictText(bool holds);

    QSize sizeHint() const override;

private:
    QTableWidget *m_table;
    QLabel *m_caption;
    QVector<CalcCheck> m_checks;
    Shown m_shown = Shown::Hidden;
    int m_hintWidth = 0;
};
