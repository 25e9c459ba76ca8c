#include "csv_stream.h"

#include <csv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace curp::cli {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;
constexpr std::size_t kFieldGrowth = std::size_t{1} << 18;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Spaces around an unquoted field are part of its value: every byte is kept.
int NoSpaceIsTrimmed(unsigned char /*byte*/)
{
    return 0;
}

// Collects the fields of the row being read and counts lines, so that each
// row is known by the line it starts on, embedded line breaks included.
class RowCollector
{
public:
    RowCollector(csv_parser& parser, CsvSink& sink)
        : parser_(parser)
        , sink_(sink)
    {}

    static void OnField(void* data, std::size_t length, void* self)
    {
        static_cast<RowCollector*>(self)->Field({static_cast<const char*>(data), length});
    }

    static void OnRowEnd(int ending, void* self)
    {
        static_cast<RowCollector*>(self)->RowEnd(ending);
    }

    bool stopped() const
    {
        return stopped_;
    }
    const CsvError& error() const
    {
        return error_;
    }

    // Stops the reading for a fault of the row being read (or of the whole
    // file when `whole`).
    void Fail(std::string message, bool whole = false)
    {
        if (!stopped_) {
            error_ = {std::move(message), whole ? 0 : rowLine_};
            stopped_ = true;
        }
    }

private:
    void Field(std::string_view value)
    {
        if (stopped_) {
            return;
        }
        if (bytes_.size() + value.size() > kMaxRowBytes) {
            Fail("fila de más de 8 MiB; ¿unas comillas sin cerrar?");
            return;
        }
        bytes_.append(value);
        ends_.push_back(bytes_.size());
        CountLineBreaks(value);
    }

    // Line breaks inside a (quoted) field: LF, CR LF and a lone CR count once.
    void CountLineBreaks(std::string_view value)
    {
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (value[i] == '\n' ||
                (value[i] == '\r' && (i + 1 == value.size() || value[i + 1] != '\n'))) {
                ++line_;
            }
        }
    }

    void RowEnd(int ending)
    {
        if (stopped_) {
            return;
        }
        if (ends_.empty() && ending == CSV_LF && afterCr_) {
            afterCr_ = false; // the LF of a CR LF that already ended the row
            return;
        }
        views_.clear();
        std::size_t start = 0;
        for (const std::size_t end : ends_) {
            views_.emplace_back(bytes_.data() + start, end - start);
            start = end;
        }
        if (!sink_.Row({views_, rowLine_})) {
            stopped_ = true;
        }
        bytes_.clear();
        ends_.clear();
        if (ending == CSV_CR || ending == CSV_LF) {
            ++line_;
        }
        afterCr_ = ending == CSV_CR;
        rowLine_ = line_;
    }

    csv_parser& parser_;
    CsvSink& sink_;
    std::string bytes_;             // the row's fields, one after the other
    std::vector<std::size_t> ends_; // where each field ends in bytes_
    std::vector<std::string_view> views_;
    std::size_t line_ = 1;    // the line being read
    std::size_t rowLine_ = 1; // the line the current row started on
    bool afterCr_ = false;    // the last row ended with a CR
    bool stopped_ = false;
    CsvError error_;
};

// The parser, freed however the reading ends.
struct Parser {
    csv_parser state{};
    bool ready = csv_init(&state, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) == 0;
    Parser()
    {
        csv_set_space_func(&state, NoSpaceIsTrimmed);
        // The field buffer grows by this much at a time (128 bytes unless
        // told): a long field then takes a few dozen copies, not tens of
        // thousands.
        csv_set_blk_size(&state, kFieldGrowth);
    }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
    Parser(Parser&&) = delete;
    Parser& operator=(Parser&&) = delete;
    ~Parser()
    {
        if (ready) {
            csv_free(&state);
        }
    }
};

// The bytes for which RFC 4180 puts a field in quotes. All four are below
// ',' (0x2C), which letters and digits are not: one comparison for those.
constexpr bool NeedsQuotes(char c) noexcept
{
    return static_cast<unsigned char>(c) <= ',' && (c == ',' || c == '"' || c == '\n' || c == '\r');
}

std::string ParseError(csv_parser& parser)
{
    if (csv_error(&parser) == CSV_EPARSE) {
        return "comillas mal puestas: un campo entre comillas las cierra justo antes de la coma "
               "o del fin de línea, y las comillas de dentro van dobles";
    }
    return "memoria insuficiente";
}

} // namespace

CsvError ReadCsv(std::FILE* in, CsvSink& sink)
{
    Parser parser;
    if (!parser.ready) {
        return {"memoria insuficiente"};
    }
    RowCollector rows(parser.state, sink);
    std::string chunk(kChunk, '\0');
    bool first = true;
    while (!rows.stopped()) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), in);
        std::string_view data(chunk.data(), got);
        if (first && got > 0) {
            first = false;
            const bool byteOrderMark = data.starts_with(kByteOrderMark);
            if (byteOrderMark) {
                data.remove_prefix(kByteOrderMark.size());
            }
            const auto lf = data.find('\n');
            sink.Begin(byteOrderMark,
                       lf != std::string_view::npos && lf > 0 && data[lf - 1] == '\r');
        }
        if (csv_parse(&parser.state, data.data(), data.size(), RowCollector::OnField,
                      RowCollector::OnRowEnd, &rows) != data.size()) {
            rows.Fail(ParseError(parser.state));
        } else if (csv_get_buffer_size(&parser.state) > kMaxRowBytes) {
            rows.Fail("campo de más de 8 MiB; ¿unas comillas sin cerrar?");
        }
        if (got < chunk.size()) {
            if (std::ferror(in) != 0) {
                rows.Fail(std::string("no se pudo leer: ") + std::strerror(errno), true);
            }
            break;
        }
    }
    if (!rows.stopped() &&
        csv_fini(&parser.state, RowCollector::OnField, RowCollector::OnRowEnd, &rows) != 0) {
        rows.Fail("comillas sin cerrar hasta el final del archivo");
    }
    return rows.error();
}

CsvWriter::CsvWriter(std::FILE* out)
    : out_(out)
{
    buffer_.reserve(kChunk + kChunk / 4);
}

CsvWriter::~CsvWriter()
{
    Flush();
}

void CsvWriter::Begin(bool byteOrderMark, bool crlf)
{
    lineEnd_ = crlf ? "\r\n" : "\n";
    if (byteOrderMark) {
        buffer_.append(kByteOrderMark);
    }
}

void CsvWriter::Field(std::string_view value)
{
    if (rowFields_++ > 0) {
        buffer_.push_back(',');
    }
    lastFieldEmpty_ = value.empty();
    if (std::none_of(value.begin(), value.end(), NeedsQuotes)) {
        buffer_.append(value);
        return;
    }
    buffer_.push_back('"');
    for (const char c : value) {
        if (c == '"') {
            buffer_.push_back('"');
        }
        buffer_.push_back(c);
    }
    buffer_.push_back('"');
}

void CsvWriter::EndRow()
{
    if (rowFields_ == 1 && lastFieldEmpty_) {
        buffer_.append("\"\"");
    }
    buffer_.append(lineEnd_);
    rowFields_ = 0;
    if (buffer_.size() >= kChunk) {
        Flush();
    }
}

bool CsvWriter::Flush()
{
    if (!failed_ && !buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
        failed_ = true;
    }
    buffer_.clear();
    if (!failed_ && std::fflush(out_) != 0) {
        failed_ = true;
    }
    return !failed_;
}

} // namespace curp::cli
