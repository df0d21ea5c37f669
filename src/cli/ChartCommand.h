#pragma once

#include "cli/Command.h"

class CliArgs;

// "pipecalc-cli chart KIND ... -o FILE.svg|FILE.png": draws the chart of the
// calculation that the main window shows on its chart page, from the
// inputs the calculation options give, and writes it as SVG or PNG by the
// extension.  Needs no display.
class ChartCommand : public Command
{
public:
    ChartCommand();
    int execute(CliArgs &args) const override;
};
