#pragma once

#include "cli/Command.h"

#include <QString>

#include <memory>
#include <vector>

// The commands of pipecalc-cli, and the help made from what they declare.
// A new command is one line in commands().
class CommandTable
{
public:
    // Every command, in the order the help lists them.
    static const std::vector<std::unique_ptr<Command>> &commands();
    // The command named `name`, or nullptr.
    static const Command *find(const QString &name);
    // The text of "pipecalc-cli --help".
    static QString helpText();
};
