#pragma once

class CliArgs;

// "pipecalc-cli db tubes|fiberglass-tubes|materials|soils": the rows of a
// reference grid as the program shows them, or their stored values as JSON.
class DbCommand
{
public:
    // The reference database cannot be opened or one of its tables read.
    static constexpr int ExitDatabase = 6;

    static int run(CliArgs &args);
};
