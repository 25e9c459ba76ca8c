#include "windows_console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace curp::cli {
namespace {

// The console's code pages before the program changed them; 0 without a console.
UINT consoleOutputPage = 0;
UINT consoleInputPage = 0;

void RestoreConsole()
{
    SetConsoleOutputCP(consoleOutputPage);
    SetConsoleCP(consoleInputPage);
}

} // namespace

void PrepareWindowsStreams()
{
    for (std::FILE* stream : {stdin, stdout, stderr}) {
        _setmode(_fileno(stream), _O_BINARY);
    }
    consoleOutputPage = GetConsoleOutputCP();
    consoleInputPage = GetConsoleCP();
    if (consoleOutputPage != 0 && consoleInputPage != 0) {
        SetConsoleOutputCP(CP_UTF8);
        SetConsoleCP(CP_UTF8);
        std::atexit(RestoreConsole);
    }
}

} // namespace curp::cli
