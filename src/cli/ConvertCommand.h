#pragma once

#include "cli/Command.h"

class CliArgs;

// "pipecalc-cli convert IN -o OUT [--title TEXT]": reads IN as the report
// editor opens a file and writes OUT as the editor saves one, each by its
// extension; ".pdf" writes the report page under the title (by default the
// hydraulic report's), as the editor's preview shows it.
class ConvertCommand : public Command
{
public:
    ConvertCommand();
    int execute(CliArgs &args) const override;
};
