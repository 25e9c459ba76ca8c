// A CSV input read twice. The first pass finds out how the file is written
// (its encoding and separator) and lets a command look at its rows before
// anything is written; the second hands the rows over for good. A regular
// file is read again from where it started; anything else (a pipe, a
// terminal) is copied to a temporary file during the first pass, so memory
// stays flat whatever the size of the input.
#ifndef CURP_CLI_CSV_INPUT_H
#define CURP_CLI_CSV_INPUT_H

#include "csv_stream.h"
#include "encoding.h"

#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace curp::cli {

// What the person running the command said about the file, overriding what
// the first pass would find.
struct CsvChoices {
    std::optional<Encoding> encoding;
    std::optional<char> separator; // ',', ';' or '\t'
};

// How the file is written, as found by the first pass or as chosen.
struct CsvLayout {
    Encoding encoding = Encoding::Utf8;
    bool encodingDetected = false; // true when no --codificacion chose it
    char separator = ',';
    std::size_t notUtf8Line = 0; // the line of the first byte that is not UTF-8; 0 if none
    std::string notUtf8Context;  // the bytes around that byte, within its line
    std::string firstLine;       // the first line that is not empty, up to 64 KiB, as read
    std::string start;           // the first bytes of the file, to tell what kind of file it is
    CsvError scanError;          // why the first pass could not read the rows it was to look at
};

// The separator a header line uses: the one of comma, semicolon and tab that
// it holds most often outside quotes; comma when it holds none.
char DetectSeparator(std::string_view line);

class CsvInput
{
public:
    CsvInput(std::FILE* in, CsvChoices choices);
    CsvInput(const CsvInput&) = delete;
    CsvInput& operator=(const CsvInput&) = delete;
    CsvInput(CsvInput&&) = delete;
    CsvInput& operator=(CsvInput&&) = delete;
    ~CsvInput();

    // The first pass: reads the whole input, and hands its rows to `look`
    // until `look` stops the reading. Fails only when the input cannot be
    // read (or copied); a file that is not CSV shows up in scanError.
    CsvError Scan(CsvSink& look);
    const CsvLayout& layout() const noexcept
    {
        return layout_;
    }
    // The second pass: every row of the same bytes, with the layout found.
    CsvError Read(CsvSink& sink);

private:
    std::FILE* in_;
    CsvChoices choices_;
    CsvLayout layout_;
    std::FILE* source_ = nullptr; // what the second pass reads: `in_` or the copy
    std::FILE* copy_ = nullptr;
    off_t start_ = 0;      // where the input started in `source_`
    std::size_t size_ = 0; // the bytes the first pass read
};

} // namespace curp::cli

#endif // CURP_CLI_CSV_INPUT_H
