// libFuzzer target for `curp calcula --csv`: the input is a file, read as
// the command reads it (the first pass finds its encoding and separator, the
// second computes each row's key). Besides crashes, leaks and undefined
// behaviour, it stops when:
//   - the command read the file but wrote a different number of records
//     (rows and empty lines) than the file holds;
//   - a key it wrote does not pass CheckKey.
//
// Layout of an input: byte 0 chooses what the person forces (bits 0-1: the
// encoding, none, UTF-8 or Windows-1252; bits 2-3: the separator, none,
// comma, semicolon or tab); the rest is the file. fuzz/csv-corpus/ holds
// the seeds, in this layout.
#include "cli_test_support.h"
#include "csv_commands.h"
#include "csv_input.h"
#include "csv_stream.h"
#include "encoding.h"

#include "curp/check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using curp::cli::CsvRow;
using curp::cli::CsvSink;

// The rows of a text, each a list of fields.
class Rows : public CsvSink
{
public:
    void Begin(bool /*byteOrderMark*/, bool /*crlf*/) override {}
    bool Row(const CsvRow& row) override
    {
        rows.emplace_back(row.fields.begin(), row.fields.end());
        return true;
    }
    std::vector<std::vector<std::string>> rows;
};

// A file in memory as the command's input (an empty one too).
std::FILE* Open(std::string& bytes)
{
    return bytes.empty() ? std::fopen("/dev/null", "rb")
                         : fmemopen(bytes.data(), bytes.size(), "rb");
}

[[noreturn]] void Fail(const char* what, std::string_view detail)
{
    std::fprintf(stderr, "csv_fuzz: %s: %.*s\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    curp::cli::CsvChoices choices;
    const unsigned selector = data[0];
    constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};
    if ((selector & 3U) != 0) {
        choices.encoding =
            (selector & 3U) == 1 ? curp::cli::Encoding::Utf8 : curp::cli::Encoding::Windows1252;
    }
    if (((selector >> 2U) & 3U) != 0) {
        choices.separator = kSeparators.at(((selector >> 2U) & 3U) - 1);
    }
    std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);

    const curp::cli::test::CsvResult result =
        curp::cli::test::RunOn(curp::cli::CalculaCsv, file, choices);
    if (result.status == curp::cli::kUsageError) {
        return 0; // a file that is not CSV, or a header without the columns
    }

    // The layout the command found, to read both texts the same way.
    std::FILE* in = Open(file);
    curp::cli::CsvInput input(in, choices);
    Rows ignored;
    input.Scan(ignored);
    const curp::cli::CsvLayout layout = input.layout();
    Rows records;
    input.Read(records);
    std::fclose(in);
    std::string written = result.out;
    Rows output;
    std::FILE* again = Open(written);
    const curp::cli::CsvError error = curp::cli::ReadCsv(again, output, layout.separator);
    std::fclose(again);
    if (!error.message.empty()) {
        Fail("the output is not CSV", error.message);
    }
    if (output.rows.size() != records.rows.size()) {
        Fail("records in and rows out differ",
             std::to_string(records.rows.size()) + " and " + std::to_string(output.rows.size()));
    }

    // Every key written checks clean.
    const auto header = std::find_if(output.rows.begin(), output.rows.end(),
                                     [](const auto& row) { return !row.empty(); });
    const auto keyColumn = std::find(header->begin(), header->end(), "curp_calculada");
    if (keyColumn == header->end()) {
        return 0; // the header had it under another spelling, which it keeps
    }
    const auto column = static_cast<std::size_t>(keyColumn - header->begin());
    for (auto row = header + 1; row != output.rows.end(); ++row) {
        if (row->size() <= column || (*row)[column].empty()) {
            continue;
        }
        std::string key;
        if (layout.encoding == curp::cli::Encoding::Utf8) {
            key = (*row)[column];
        } else {
            curp::cli::AppendWindows1252AsUtf8((*row)[column], key);
        }
        if (const std::vector<curp::KeyFinding> findings = curp::CheckKey(key); !findings.empty()) {
            Fail("a written key does not check clean",
                 key + ": " + curp::Describe(findings.front()));
        }
    }
    return 0;
}
