#pragma once

// The command-line tool: parses the arguments and runs one command; returns
// the exit code (0 success, 1 failure, 2 usage).
int CliMain(int argc, char** argv);
