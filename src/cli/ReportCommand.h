#pragma once

#include "cli/Command.h"

class CliArgs;

// "pipecalc-cli report hydraulic|static|fiberglass ... -o FILE": runs the
// calculation as "calc" does, then builds its report from the template and
// writes it by FILE's extension: ".rtf", ".txt" or ".pdf".
class ReportCommand : public Command
{
public:
    ReportCommand();
    int execute(CliArgs &args) const override;
};
