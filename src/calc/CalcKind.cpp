#include "calc/CalcKind.h"

QString CalcKinds::name(CalcKind kind)
{
    switch (kind) {
    case CalcKind::Hydraulic:
        return QStringLiteral("hydraulic");
    case CalcKind::Static:
        return QStringLiteral("static");
    case CalcKind::Fiberglass:
        return QStringLiteral("fiberglass");
    }
    return QString();
}

bool CalcKinds::fromName(const QString &name, CalcKind *kind)
{
    for (const CalcKind k : {CalcKind::Hydraulic, CalcKind::Static, CalcKind::Fiberglass}) {
        if (name == CalcKinds::name(k)) {
            *kind = k;
            return true;
        }
    }
    return false;
}

CalcView CalcKinds::view(CalcKind kind)
{
    switch (kind) {
    case CalcKind::Hydraulic:
        return CalcView::Hydraulic;
    case CalcKind::Static:
        return CalcView::Static;
    case CalcKind::Fiberglass:
        return CalcView::Fiberglass;
    }
    return CalcView::Hydraulic;
}

CalcKind CalcKinds::ofView(CalcView view)
{
    for (const CalcKind kind : {CalcKind::Hydraulic, CalcKind::Static, CalcKind::Fiberglass}) {
        if (CalcKinds::view(kind) == view)
            return kind;
    }
    return CalcKind::Hydraulic;
}
