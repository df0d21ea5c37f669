#pragma once

#include "cli/Command.h"

class CliArgs;

// "pipecalc-cli select hydraulic|static|fiberglass [--flow Q] [--max-filling F]
// [calculation options] [--csv|--json]", the flow given for hydraulic: the
// catalogue against the job.  Every tube of the table the calculation's
// material lists, calculated with the inputs the options give and that
// tube's sizes: for the static calculations its checks and the greatest
// cover depth at which they all hold, for the hydraulic one the filling
// that carries the flow.
class SelectCommand : public Command
{
public:
    SelectCommand();
    int execute(CliArgs &args) const override;
};
