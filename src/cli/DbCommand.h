#pragma once

#include "cli/Command.h"

class CliArgs;

// "pipecalc-cli db tubes|fiberglass-tubes|materials|soils": the rows of a
// reference grid as the program shows them, or their stored values as JSON.
class DbCommand : public Command
{
public:
    DbCommand();
    int execute(CliArgs &args) const override;
};
