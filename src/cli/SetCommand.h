#pragma once

#include "cli/CliContext.h"

// quorvel-cli set GROUP [--project ENTRY]... [--all] KEY=VALUE...: changes
// group or project values and saves the group's settings file.
extern const TCliCommand SetCommand;
