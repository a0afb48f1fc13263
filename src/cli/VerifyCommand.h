#pragma once

#include "cli/CliContext.h"

// quorvel-cli verify GROUP [options]: checks that the compiled resource files
// of the checked projects carry the projects' file versions.
extern const TCliCommand VerifyCommand;
