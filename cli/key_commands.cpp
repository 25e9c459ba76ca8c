#include "key_commands.h"

#include "key_report.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace curp::cli {

LineReader::LineReader(int fd)
    : fd_(fd)
    , piece_(kPieceBytes, '\0')
{}

bool LineReader::Refill()
{
    pos_ = 0;
    size_ = 0;
    for (;;) {
        const ssize_t got = read(fd_, piece_.data(), piece_.size());
        if (got >= 0) {
            size_ = static_cast<std::size_t>(got);
            return got > 0;
        }
        if (errno != EINTR) {
            failed_ = true;
            return false;
        }
    }
}

bool LineReader::Next(std::string& line, bool& tooLong)
{
    line.clear();
    tooLong = false;
    bool started = false;
    for (;;) {
        if (pos_ == size_ && !Refill()) {
            return started && !failed_;
        }
        if (afterCr_) {
            afterCr_ = false;
            if (piece_[pos_] == '\n') { // the LF of a CR LF
                ++pos_;
                continue;
            }
        }
        started = true;
        std::size_t end = pos_;
        while (end < size_ && piece_[end] != '\n' && piece_[end] != '\r') {
            ++end;
        }
        const std::size_t length = end - pos_;
        if (!tooLong && line.size() + length > kMaxLineBytes) {
            tooLong = true;
            std::string().swap(line);
        }
        if (!tooLong) {
            line.append(piece_, pos_, length);
        }
        pos_ = end;
        if (end < size_) {
            afterCr_ = piece_[end] == '\r';
            ++pos_;
            return true;
        }
    }
}

namespace {

void Print(std::FILE* out, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), out);
}

// Hands `each` every key: those of `keys`, and every line of standard input
// for "-" or when there is none. False when standard input cannot be read.
template <class Each>
bool ForEachKey(std::span<const std::string> keys, const KeyRun& run, Each each)
{
    const auto lines = [&run, &each] {
        LineReader reader(run.in);
        std::string line;
        bool tooLong = false;
        while (reader.Next(line, tooLong)) {
            if (tooLong) {
                each(KeyReport{.clave = "(línea de más de 8 MiB)",
                               .problems = {"la línea es demasiado larga para ser una clave"},
                               .data = std::nullopt});
            } else {
                each(line);
            }
        }
        if (reader.failed()) {
            std::fprintf(run.err, "curp: entrada estándar: no se pudo leer: %s\n",
                         std::strerror(errno));
            return false;
        }
        return true;
    };
    if (keys.empty()) {
        return lines();
    }
    return std::all_of(keys.begin(), keys.end(), [&](const std::string& key) {
        if (key == "-") {
            return lines();
        }
        each(key);
        return true;
    });
}

// Runs `write` on the report of every key (with what the key says when
// `read`); the status says whether each was valid.
template <class Write>
Status EachReport(std::span<const std::string> keys, const KeyRun& run, bool read, Write write)
{
    const auto today = Today();
    Status status = kAllRows;
    struct Visitor {
        Write& write;
        Status& status;
        std::chrono::year_month_day today;
        bool read;
        void operator()(const std::string& key) const
        {
            (*this)(ReportOn(key, today, read));
        }
        void operator()(const KeyReport& report) const
        {
            write(report);
            if (!report.problems.empty()) {
                status = kSomeRows;
            }
        }
    };
    const Visitor visit{write, status, today, read};
    return ForEachKey(keys, run, visit) ? status : kUsageError;
}

} // namespace

Status ValidaKeys(std::span<const std::string> keys, const KeyRun& run)
{
    return EachReport(keys, run, run.json, [&run](const KeyReport& report) {
        Print(run.out, (run.json ? ToJson(report) : ValidityLine(report)) + '\n');
    });
}

Status LeeKeys(std::span<const std::string> keys, const KeyRun& run)
{
    bool first = true;
    return EachReport(keys, run, true, [&run, &first](const KeyReport& report) {
        if (run.json) {
            Print(run.out, ToJson(report) + '\n');
        } else {
            if (!first) {
                Print(run.out, "\n");
            }
            Print(run.out, Reading(report));
        }
        first = false;
    });
}

Status CopyLines(const KeyRun& run)
{
    LineReader reader(run.in);
    std::string line;
    bool tooLong = false;
    while (reader.Next(line, tooLong)) {
        line.push_back('\n');
        Print(run.out, line);
    }
    return reader.failed() ? kUsageError : kAllRows;
}

} // namespace curp::cli
