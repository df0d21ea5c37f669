#pragma once

#include <QStringList>

// The command-line tool: the command word, then its arguments.  Returns the
// exit status.
int cliMain(const QStringList &args);
