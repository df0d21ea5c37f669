#include "model/platform/ProcessLimits.h"

#include <QProcess>

#include <csignal>

#include <sys/resource.h>

void ProcessLimits::applyTo(QProcess &process) const
{
    const ProcessLimits limits = *this;
    // Runs in the new process before the helper starts.
    process.setChildProcessModifier([limits] {
        const rlim_t memory = rlim_t(limits.memoryBytes);
        const rlimit addressSpace{memory, memory};
        ::setrlimit(RLIMIT_AS, &addressSpace);
        // SIGXCPU at the limit, SIGKILL a second later should it be caught.
        const rlimit processor{rlim_t(limits.processorSeconds), rlim_t(limits.processorSeconds) + 1};
        ::setrlimit(RLIMIT_CPU, &processor);
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
    });
}

bool ProcessLimits::endedForProcessorTime(const QProcess &process)
{
    return process.exitStatus() == QProcess::CrashExit && process.exitCode() == SIGXCPU;
}
