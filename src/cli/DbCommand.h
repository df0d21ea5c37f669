#pragma once

class CliArgs;

// "pipecalc-cli db tubes|fiberglass-tubes|materials|soils": the rows of a
// reference grid as the program shows them, or their stored values as JSON.
class DbCommand
{
public:
    static int run(CliArgs &args);
};
