#pragma once

#include "cli/CliContext.h"

// quorvel-cli check GROUP: the warnings a group needs looked at before a
// release, one line each; exit code 1 when there is one.
extern const TCliCommand CheckCommand;
