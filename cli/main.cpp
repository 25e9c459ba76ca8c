#include "commands.h"

int main(int argc, char** argv)
{
    return curp::cli::RunCurp(argc, argv);
}
