#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// An ordinary user, for the checks of file permissions, which root is
// exempt from.  A test run by an ordinary user is one already; a test run by
// root acts as the user "nobody" (uid and gid 65534): in a child process for
// code of the test, through setpriv(1) for a program.  Files such a user is
// to reach must be given to it (handOver()).
class OrdinaryUser
{
public:
    static constexpr unsigned Id = 65534;

    // Whether the process runs as root, so that the user must be switched.
    static bool isRoot();

    // Runs `body` as an ordinary user: in a child process when this one is
    // root.  Returns what `body` returns; -1 when the user could not be
    // switched.
    static int run(const std::function<int()> &body);

    // The program and arguments that run `program` as an ordinary user:
    // setpriv first when this process is root.
    static QStringList command(const QString &program, const QStringList &arguments);

    // Gives a file or folder to the ordinary user (as root; nothing to do
    // otherwise).  False when it cannot.
    static bool handOver(const QString &path);
};
