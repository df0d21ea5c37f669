#pragma once

#include <QtGlobal>

class QProcess;

// The limits a helper process lives under, so that a damaged input file
// cannot take the program's memory or time: the system ends a helper that
// goes past them.
struct ProcessLimits
{
    qint64 memoryBytes = 0; // address space
    int processorSeconds = 0;

    // Sets the limits on the process before it is started; it also leaves
    // no core file.
    void applyTo(QProcess &process) const;
    // Whether a process that crashed was ended for the processor time.
    static bool endedForProcessorTime(const QProcess &process);
};
