#pragma once

#include "cli/CliContext.h"

#include <vector>

// Every command of the tool, in the order the usage text lists them.
const std::vector<const TCliCommand*>& AllCliCommands();
