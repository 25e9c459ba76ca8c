#include "commands.h"

#ifdef _WIN32
#include "windows_console.h"
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    curp::cli::PrepareWindowsStreams();
#endif
    return curp::cli::RunCurp(argc, argv);
}
