#pragma once

#include "ui/GridView.h"
#include "ui/VariableGridModel.h"

#include <QFrame>
#include <QObject>
#include <QString>
#include <QtGlobal>

// How the window tests reach a window's parts: by their object names, as a
// user's accessibility tools would, never through the window's members.

// The part of that name and kind; a test that names a part the window does
// not have stops there, naming it.
template <class T>
T *part(const QObject &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("The window has no part \"%s\" of the kind the test expects", name);
    return found;
}

// The rows of the main window's input and result grids.
inline VariableGridModel *inputModel(const QObject &mainWindow)
{
    return qobject_cast<VariableGridModel *>(part<GridView>(mainWindow, "inputGrid")->model());
}

inline VariableGridModel *outputModel(const QObject &mainWindow)
{
    return qobject_cast<VariableGridModel *>(part<GridView>(mainWindow, "outputGrid")->model());
}

// Whether the main window offers the laying and wall of a fiberglass pipe.
inline bool fiberglassPanelShown(const QObject &mainWindow)
{
    return !part<QFrame>(mainWindow, "fiberglassOptionsPanel")->isHidden();
}
