#pragma once

#include "cli/CliContext.h"

// quorvel-cli build GROUP [options]: "Create resource files" for the group's
// checked projects, the compiler log on standard output.
extern const TCliCommand BuildCommand;
