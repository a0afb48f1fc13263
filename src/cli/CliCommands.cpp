#include "cli/CliCommands.h"

#include "cli/BuildCommand.h"
#include "cli/ListCommand.h"

const std::vector<const TCliCommand*>& AllCliCommands()
{
    static const std::vector<const TCliCommand*> commands{&ListCommand, &BuildCommand};
    return commands;
}
