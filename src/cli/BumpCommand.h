#pragma once

#include "cli/CliContext.h"

// quorvel-cli bump GROUP (--major|--minor|--release|--build) [--project
// ENTRY]... [--all]: raises one part of projects' file versions and saves the
// group's settings file.
extern const TCliCommand BumpCommand;
