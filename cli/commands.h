// The command line of `curp`: its subcommands, options and help.
#ifndef CURP_CLI_COMMANDS_H
#define CURP_CLI_COMMANDS_H

namespace curp::cli {

// Runs `curp` with its arguments; returns the exit status (0, 1 or 2).
int RunCurp(int argc, char** argv);

} // namespace curp::cli

#endif // CURP_CLI_COMMANDS_H
