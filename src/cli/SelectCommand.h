#pragma once

class CliArgs;

// "pipecalc-cli select static|fiberglass [calculation options] [--csv|--json]"
// and "pipecalc-cli select hydraulic --flow Q [--max-filling F] [...]": the
// catalogue against the job.  Every tube of the table the calculation's
// material lists, calculated with the inputs the options give and that
// tube's sizes: for the static calculations its checks and the greatest
// cover depth at which they all hold, for the hydraulic one the filling
// that carries the flow.
class SelectCommand
{
public:
    static int run(CliArgs &args);
};
