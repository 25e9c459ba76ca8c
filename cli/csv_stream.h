// Streaming CSV: rows read one at a time from pieces of a file (RFC 4180
// quoting, a comma, semicolon or tab between fields, LF, CRLF or CR line
// ends, an optional UTF-8 byte order mark) and rows written with the quoting
// RFC 4180 needs. Neither holds more than one row.
#ifndef CURP_CLI_CSV_STREAM_H
#define CURP_CLI_CSV_STREAM_H

#include "encoding.h"

#include <array>
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
    // For each field, whether it was in quotes; a field that was not holds no
    // separator, quote or line break, so it is written back as it is.
    std::span<const char> quoted = {};
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

// Files are read in pieces of this size.
inline constexpr std::size_t kPieceBytes = std::size_t{1} << 16;

// Why a file could not be read to its end.
struct CsvError {
    std::string message;  // in Spanish; empty when the file was read to its end
    std::size_t line = 0; // where the row in question starts; 0 for the whole file
};

// Reads CSV handed to it in pieces of any size and gives each row to a sink
// as soon as it is complete. A quote inside an unquoted field, text after a
// closing quote, a quote never closed and a row longer than kMaxRowBytes stop
// the reading with an error.
class CsvReader
{
public:
    explicit CsvReader(CsvSink& sink, char separator = ',');

    // The next piece of the file; false once the reading has stopped.
    bool Feed(std::string_view piece);
    // The end of the file. Returns why the reading stopped early, if it did.
    CsvError Finish();
    // Stops the reading for a fault of the whole file (a read error).
    void Fail(std::string message);

    bool stopped() const noexcept
    {
        return stopped_;
    }

private:
    enum class State { RowStart, FieldStart, Unquoted, Quoted, QuoteInQuoted };

    bool Parse(std::string_view piece);
    bool Own(const char* begin, const char* end);
    void OwnRow();
    void EndField(const char* end, bool quoted);
    void EndRow(bool cr);
    void HandOver(bool crlf);
    void FailRow(std::string message);
    void CountLineBreaks(std::string_view quoted);

    // A field of the row being read: its bytes where they were read, while
    // the piece holding them is being read, else kept in bytes_ at `offset`.
    struct FieldRef {
        const char* data = nullptr; // null: in bytes_
        std::size_t size = 0;
        std::size_t offset = 0;
        bool quoted = false;
    };

    CsvSink& sink_;
    char separator_;
    std::array<bool, 256> special_{}; // bytes that end an unquoted run
    State state_ = State::RowStart;
    std::string head_; // the first bytes, until the byte order mark is decided
    bool headDone_ = false;
    bool byteOrderMark_ = false;
    bool begun_ = false;        // Begin was called
    bool waitingForLf_ = false; // the first row ended with CR: handed over once the
                                // next byte shows whether LF follows
    bool afterCr_ = false;      // the last row ended with CR; an LF next is part of that line end
    bool crInQuotes_ = false;   // the last byte of a quoted field was CR
    bool anyBytes_ = false;
    bool stopped_ = false;
    // The field being read: its bytes from start_ on in the current piece,
    // after those already kept in bytes_ from fieldOffset_ when `copied_`.
    const char* start_ = nullptr;
    const char* quote_ = nullptr; // QuoteInQuoted: where that quote is
    bool copied_ = false;
    std::size_t fieldOffset_ = 0;
    std::string bytes_; // fields of the row kept beyond the piece they were read in
    std::vector<FieldRef> fields_;
    std::size_t rowBytes_ = 0;
    std::vector<std::string_view> views_;
    std::vector<char> quoted_;
    std::size_t line_ = 1;     // the line being read
    std::size_t rowLine_ = 1;  // the line the current row started on
    std::size_t handLine_ = 1; // the line of the row being handed over
    CsvError error_;
};

// Reads `in` to its end, or until the sink stops or the file turns out not
// to be CSV, and hands every row to `sink`. Memory use does not depend on the
// file's size.
CsvError ReadCsv(std::FILE* in, CsvSink& sink, char separator = ',');

// Writes rows into `out` through a buffer of its own.
class CsvWriter
{
public:
    // Rows end with LF until told otherwise.
    explicit CsvWriter(std::FILE* out, char separator = ',', Encoding encoding = Encoding::Utf8);
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;
    CsvWriter(CsvWriter&&) = delete;
    CsvWriter& operator=(CsvWriter&&) = delete;
    ~CsvWriter();

    // The separator and encoding of what follows.
    void Use(char separator, Encoding encoding);
    // Starts the output as the input started: with the byte order mark
    // when it had one, and with its line ends (CR LF when `crlf`, else LF).
    void Begin(bool byteOrderMark, bool crlf);
    // The next field of the current row, its bytes as they were read, in
    // quotes when it holds the separator, a quote or a line break (its
    // quotes doubled).
    void Field(std::string_view value);
    // A field read without quotes under the same separator, which needs none.
    void Plain(std::string_view value);
    // The same for UTF-8 text, written in the output's encoding.
    void Text(std::string_view utf8);
    // Ends the current row: an empty line when it has no field, `""` when its
    // only field is empty (so that it stays a row of one field).
    void EndRow();
    // Writes what is buffered; false when the output could not take it.
    bool Flush();
    // Whether a write has failed, and its errno.
    bool failed() const noexcept
    {
        return failed_;
    }
    int error() const noexcept
    {
        return error_;
    }
    // The rows ended, and those of them known to have been handed to the
    // output whole.
    std::size_t RowsEnded() const noexcept
    {
        return rowsEnded_;
    }
    std::size_t RowsWritten() const noexcept
    {
        return rowsWritten_;
    }

private:
    // Makes room in the buffer for `bytes` more, writing out what it holds.
    void Room(std::size_t bytes);
    void Put(std::string_view bytes);
    void WriteOut();

    std::FILE* out_;
    char separator_ = ',';
    Encoding encoding_ = Encoding::Utf8;
    std::array<bool, 256> quoted_{}; // bytes that put a field in quotes
    std::string_view lineEnd_ = "\n";
    std::string buffer_; // its first used_ bytes are waiting to be written
    std::size_t used_ = 0;
    std::string converted_;
    std::size_t rowFields_ = 0;
    bool lastFieldEmpty_ = false;
    bool failed_ = false;
    int error_ = 0;
    std::size_t rowsEnded_ = 0;
    std::size_t rowsWritten_ = 0;
};

// Writes every row back as it came.
class CsvCopy : public CsvSink
{
public:
    explicit CsvCopy(std::FILE* out)
        : writer_(out)
    {}

    void Begin(bool byteOrderMark, bool crlf) override;
    bool Row(const CsvRow& row) override;
    bool Flush()
    {
        return writer_.Flush();
    }

private:
    CsvWriter writer_;
};

} // namespace curp::cli

#endif // CURP_CLI_CSV_STREAM_H
