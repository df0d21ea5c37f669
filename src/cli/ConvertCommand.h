#pragma once

class CliArgs;

// "pipecalc-cli convert IN -o OUT": reads IN as the report editor opens a
// file and writes OUT as the editor saves one, each by its extension.
class ConvertCommand
{
public:
    // Exit statuses.
    static constexpr int ExitCannotRead = 8;
    static constexpr int ExitCannotWrite = 9;

    static int run(CliArgs &args);
};
