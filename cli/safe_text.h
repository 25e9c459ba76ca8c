// Text from arguments and files as the command shows it in its messages.
#ifndef CURP_CLI_SAFE_TEXT_H
#define CURP_CLI_SAFE_TEXT_H

#include "curp/utf8.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace curp::cli {

// `text` made safe to show on a terminal: bytes that are not UTF-8 and
// control characters become U+FFFD, and texts longer than `longest`
// characters are cut there with "…".
inline std::string SafeToShow(std::string_view text, std::size_t longest = 40)
{
    return Printable(text, longest);
}

} // namespace curp::cli

#endif // CURP_CLI_SAFE_TEXT_H
