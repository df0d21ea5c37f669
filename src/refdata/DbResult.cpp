#include "refdata/DbResult.h"

int DbResult::columnIndex(const QString &name) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
