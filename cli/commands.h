// The command line of `curp`: its subcommands, options and help.
#ifndef CURP_CLI_COMMANDS_H
#define CURP_CLI_COMMANDS_H

namespace curp::cli {

// Exit statuses of the command.
enum Status : int {
    kAllRows = 0,       // every row (every key) gave a result
    kSomeRows = 1,      // some row gave no key, or some key is not valid
    kUsageError = 2,    // wrong arguments, or a file that cannot be read as CSV, or an output
                        // that could not be written whole
    kInterrupted = 130, // stopped by SIGINT (Ctrl+C), as a shell tells a process it ended
};

// Runs `curp` with its arguments; returns the exit status.
int RunCurp(int argc, char** argv);

} // namespace curp::cli

#endif // CURP_CLI_COMMANDS_H
