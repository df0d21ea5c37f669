#include "OrdinaryUser.h"

#include <QFile>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

bool OrdinaryUser::isRoot()
{
    return ::geteuid() == 0;
}

int OrdinaryUser::run(const std::function<int()> &body)
{
    if (!isRoot())
        return body();
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(Id) != 0 || ::setuid(Id) != 0)
            ::_exit(255);
        ::_exit(body() & 0x7f);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

QStringList OrdinaryUser::command(const QString &program, const QStringList &arguments)
{
    if (!isRoot())
        return QStringList{program} + arguments;
    const QString id = QString::number(Id);
    return QStringList{QStringLiteral("setpriv"),
                       QStringLiteral("--reuid=") + id,
                       QStringLiteral("--regid=") + id,
                       QStringLiteral("--clear-groups"),
                       QStringLiteral("--"),
                       program}
           + arguments;
}

bool OrdinaryUser::handOver(const QString &path)
{
    if (!isRoot())
        return true;
    return ::chown(QFile::encodeName(path).constData(), Id, Id) == 0;
}
