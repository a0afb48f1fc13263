#pragma once

#include "cli/CliContext.h"

// quorvel-cli list GROUP [--json]: the group values and every project.
extern const TCliCommand ListCommand;
