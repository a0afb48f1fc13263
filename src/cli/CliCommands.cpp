#include "cli/CliCommands.h"

#include "cli/BuildCommand.h"
#include "cli/BumpCommand.h"
#include "cli/CheckCommand.h"
#include "cli/ListCommand.h"
#include "cli/SetCommand.h"
#include "cli/VerifyCommand.h"

const std::vector<const TCliCommand*>& AllCliCommands()
{
    static const std::vector<const TCliCommand*> commands{
        &ListCommand, &SetCommand, &BumpCommand, &BuildCommand, &CheckCommand, &VerifyCommand};
    return commands;
}
