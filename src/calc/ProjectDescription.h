#pragma once

#include <QDate>
#include <QString>

// What a calculation is about, as the engineer describes it: the object, the
// designer, the date and free notes.  The reports print the first three at
// their top; each may be empty.
struct ProjectDescription
{
    QString object;
    QString designer;
    QDate date; // null: no date
    QString notes;

    bool isEmpty() const { return object.isEmpty() && designer.isEmpty() && date.isNull() && notes.isEmpty(); }
    bool operator==(const ProjectDescription &other) const
    {
        return object == other.object && designer == other.designer && date == other.date && notes == other.notes;
    }
    bool operator!=(const ProjectDescription &other) const { return !(*this == other); }
};
