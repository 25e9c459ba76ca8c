// Windows only: the standard streams and the console of curp.exe made to carry
// the same bytes as on Linux.
#pragma once

namespace curp::cli {

// Makes standard input, output and error binary (no CR added before each LF,
// none taken away), and the console, if there is one, read and show UTF-8; the
// console's own code pages are given back when the program ends.
void PrepareWindowsStreams();

} // namespace curp::cli
