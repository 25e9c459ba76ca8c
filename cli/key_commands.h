// The commands on keys given one by one, on the command line or one per line
// of standard input: `curp valida` and `curp lee`.
#ifndef CURP_CLI_KEY_COMMANDS_H
#define CURP_CLI_KEY_COMMANDS_H

#include "csv_commands.h"

#include <cstddef>
#include <cstdio>
#include <span>
#include <string>

namespace curp::cli {

// A line may hold at most this many bytes; the rest of a longer one is
// skipped, and the line gets a result of its own saying so.
inline constexpr std::size_t kMaxLineBytes = std::size_t{8} << 20;

// Reads lines from a file descriptor: LF, CR LF and a lone CR each end a
// line, and the last line needs no end. It takes what the descriptor has
// (a line typed on a terminal is answered at once) and holds one line.
class LineReader
{
public:
    explicit LineReader(int fd);

    // The next line without its end; false at the end of the input or when
    // it cannot be read (failed()). `tooLong` tells a line longer than
    // kMaxLineBytes, of which `line` is then empty.
    bool Next(std::string& line, bool& tooLong);
    bool failed() const noexcept
    {
        return failed_;
    }

private:
    bool Refill();

    int fd_;
    std::string piece_;
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
    bool afterCr_ = false;
    bool failed_ = false;
};

// Where a command on keys reads and writes.
struct KeyRun {
    int in = 0;               // the descriptor of standard input, for "-" or no key
    std::FILE* out = nullptr; // one result per key
    std::FILE* err = nullptr;
    bool json = false; // JSON Lines instead of text
};

// `curp valida`: one line per key saying whether it is well-formed and, if
// not, every problem. Each of `keys` is a key, except "-", which stands for
// every line of standard input; no key at all reads standard input too.
Status ValidaKeys(std::span<const std::string> keys, const KeyRun& run);

// `curp lee`: what each key says (date of birth, sex, state) and its problems.
Status LeeKeys(std::span<const std::string> keys, const KeyRun& run);

// Every line of standard input written back as it came, line ends as LF:
// the reading and writing alone, as a yardstick for ValidaKeys.
Status CopyLines(const KeyRun& run);

} // namespace curp::cli

#endif // CURP_CLI_KEY_COMMANDS_H
