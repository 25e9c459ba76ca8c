// Streaming CSV: rows read one at a time from a file (RFC 4180 quoting, LF,
// CRLF or CR line ends, an optional UTF-8 byte order mark) and rows written
// with the quoting RFC 4180 needs. Neither holds more than one row.
#ifndef CURP_CLI_CSV_STREAM_H
#define CURP_CLI_CSV_STREAM_H

#include <cstddef>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace curp::cli {

// One row as read: the values of its fields, unquoted, and the line of the
// file it starts on (from 1). An empty line is a row without fields.
struct CsvRow {
    std::span<const std::string_view> fields;
    std::size_t line = 0;
};

// Receives the rows of a file in order.
class CsvSink
{
public:
    CsvSink() = default;
    CsvSink(const CsvSink&) = delete;
    CsvSink& operator=(const CsvSink&) = delete;
    CsvSink(CsvSink&&) = delete;
    CsvSink& operator=(CsvSink&&) = delete;
    virtual ~CsvSink() = default;

    // Called once, before the first row, when the file is not empty:
    // whether it starts with a UTF-8 byte order mark (EF BB BF, not part of
    // any field) and whether its first line ends with CR LF.
    virtual void Begin(bool byteOrderMark, bool crlf) = 0;
    // Called once per row; returning false stops the reading.
    virtual bool Row(const CsvRow& row) = 0;
};

// A row (its fields together) may hold at most this many bytes. A longer row
// is nearly always an opening quote that is never closed, which would
// otherwise take the rest of the file into one field.
inline constexpr std::size_t kMaxRowBytes = std::size_t{8} << 20;

// Why a file could not be read to its end.
struct CsvError {
    std::string message;  // in Spanish; empty when the file was read to its end
    std::size_t line = 0; // where the row in question starts; 0 for the whole file
};

// Reads `in` to its end, or until the sink stops or the file turns out not
// to be CSV (a stray quote, a row longer than kMaxRowBytes, a read error),
// and hands every row to `sink`. Memory use does not depend on the file's size.
CsvError ReadCsv(std::FILE* in, CsvSink& sink);

// Writes rows into `out` through a buffer of its own.
class CsvWriter
{
public:
    // Rows end with LF until told otherwise.
    explicit CsvWriter(std::FILE* out);
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;
    CsvWriter(CsvWriter&&) = delete;
    CsvWriter& operator=(CsvWriter&&) = delete;
    ~CsvWriter();

    // Starts the output as the input started: with the byte order mark
    // when it had one, and with its line ends (CR LF when `crlf`, else LF).
    void Begin(bool byteOrderMark, bool crlf);
    // The next field of the current row, in quotes when it holds a comma, a
    // quote or a line break (its quotes doubled).
    void Field(std::string_view value);
    // Ends the current row: an empty line when it has no field, `""` when its
    // only field is empty (so that it stays a row of one field).
    void EndRow();
    // Writes what is buffered; false when the output could not take it.
    bool Flush();

private:
    std::FILE* out_;
    std::string_view lineEnd_ = "\n";
    std::string buffer_;
    std::size_t rowFields_ = 0;
    bool lastFieldEmpty_ = false;
    bool failed_ = false;
};

} // namespace curp::cli

#endif // CURP_CLI_CSV_STREAM_H
