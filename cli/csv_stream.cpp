#include "csv_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace curp::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr const char* kStrayQuote =
    "comillas mal puestas: un campo entre comillas las cierra justo antes del separador o del "
    "fin de línea, y las comillas de dentro van dobles";

// The separator, the quote and the two line-break bytes: what ends a run of
// plain bytes when reading, and what puts a field in quotes when writing.
std::array<bool, 256> SpecialBytes(char separator)
{
    std::array<bool, 256> special{};
    for (const char c : {separator, '"', '\n', '\r'}) {
        special.at(static_cast<unsigned char>(c)) = true;
    }
    return special;
}

} // namespace

CsvReader::CsvReader(CsvSink& sink, char separator)
    : sink_(sink)
    , separator_(separator)
    , special_(SpecialBytes(separator))
{}

bool CsvReader::Feed(std::string_view piece)
{
    if (stopped_ || piece.empty()) {
        return !stopped_;
    }
    anyBytes_ = true;
    if (!headDone_) {
        // The byte order mark may come split over pieces: its bytes are held
        // back until it is clear whether the file starts with it.
        const std::size_t take = std::min(piece.size(), kByteOrderMark.size() - head_.size());
        head_.append(piece.substr(0, take));
        piece.remove_prefix(take);
        if (head_.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(head_)) {
            return true;
        }
        headDone_ = true;
        byteOrderMark_ = head_ == kByteOrderMark;
        if (!byteOrderMark_ && !Parse(head_)) {
            return false;
        }
    }
    return Parse(piece);
}

bool CsvReader::Parse(std::string_view piece)
{
    const char* data = piece.data();
    const std::size_t size = piece.size();
    std::size_t i = 0;
    while (i < size && !stopped_) {
        const char c = data[i];
        if (afterCr_) {
            afterCr_ = false;
            if (waitingForLf_) {
                waitingForLf_ = false;
                HandOver(c == '\n');
                if (stopped_) {
                    break;
                }
            }
            if (c == '\n') {
                ++i;
                continue;
            }
        }
        switch (state_) {
        case State::RowStart:
            if (c == '\n' || c == '\r') {
                ++i;
                EndRow(c == '\r'); // an empty line: a row without fields
                continue;
            }
            state_ = State::FieldStart;
            [[fallthrough]];
        case State::FieldStart:
            if (c == '"') {
                ++i;
                state_ = State::Quoted;
                crInQuotes_ = false;
                continue;
            }
            state_ = State::Unquoted;
            [[fallthrough]];
        case State::Unquoted: {
            std::size_t end = i;
            while (end < size && !special_[static_cast<unsigned char>(data[end])]) {
                ++end;
            }
            if (!Append({data + i, end - i})) {
                return false;
            }
            i = end;
            if (i == size) {
                break;
            }
            const char stop = data[i++];
            if (stop == separator_) {
                EndField();
                state_ = State::FieldStart;
            } else if (stop == '"') {
                FailRow(kStrayQuote);
            } else {
                EndField();
                EndRow(stop == '\r');
            }
            break;
        }
        case State::Quoted: {
            const void* quote = std::memchr(data + i, '"', size - i);
            const std::size_t end =
                quote == nullptr ? size
                                 : static_cast<std::size_t>(static_cast<const char*>(quote) - data);
            const std::string_view run(data + i, end - i);
            CountLineBreaks(run);
            if (!Append(run)) {
                return false;
            }
            i = end;
            if (i < size) {
                ++i;
                state_ = State::QuoteInQuoted;
            }
            break;
        }
        case State::QuoteInQuoted:
            ++i;
            if (c == '"') { // a doubled quote stands for one
                crInQuotes_ = false;
                if (!Append("\"")) {
                    return false;
                }
                state_ = State::Quoted;
            } else if (c == separator_) {
                EndField();
                state_ = State::FieldStart;
            } else if (c == '\n' || c == '\r') {
                EndField();
                EndRow(c == '\r');
            } else {
                FailRow(kStrayQuote);
            }
            break;
        }
    }
    return !stopped_;
}

CsvError CsvReader::Finish()
{
    if (!headDone_) {
        headDone_ = true;
        byteOrderMark_ = head_ == kByteOrderMark;
        if (!byteOrderMark_) {
            Parse(head_);
        }
    }
    if (stopped_) {
        return error_;
    }
    if (waitingForLf_) {
        waitingForLf_ = false;
        afterCr_ = false;
        HandOver(false);
    }
    if (state_ == State::Quoted) {
        FailRow("comillas sin cerrar hasta el final del archivo");
    } else if (state_ != State::RowStart && !stopped_) {
        // The last line has no line end.
        EndField();
        EndRow(false);
    }
    if (!stopped_ && !begun_ && anyBytes_) {
        begun_ = true;
        sink_.Begin(byteOrderMark_, false);
    }
    return error_;
}

void CsvReader::Fail(std::string message)
{
    if (!stopped_) {
        error_ = {std::move(message), 0};
        stopped_ = true;
    }
}

void CsvReader::FailRow(std::string message)
{
    if (!stopped_) {
        error_ = {std::move(message), rowLine_};
        stopped_ = true;
    }
}

bool CsvReader::Append(std::string_view bytes)
{
    if (bytes_.size() + bytes.size() > kMaxRowBytes) {
        FailRow("fila de más de 8 MiB; ¿unas comillas sin cerrar?");
        return false;
    }
    bytes_.append(bytes);
    return true;
}

void CsvReader::EndField()
{
    ends_.push_back(bytes_.size());
}

void CsvReader::EndRow(bool cr)
{
    handLine_ = rowLine_;
    ++line_;
    rowLine_ = line_;
    state_ = State::RowStart;
    afterCr_ = cr;
    if (!begun_ && cr) {
        // Whether the output's lines end in CR LF depends on the byte after
        // this CR, which is not read yet.
        waitingForLf_ = true;
        return;
    }
    HandOver(false);
}

void CsvReader::HandOver(bool crlf)
{
    if (!begun_) {
        begun_ = true;
        sink_.Begin(byteOrderMark_, crlf);
    }
    views_.clear();
    std::size_t start = 0;
    for (const std::size_t end : ends_) {
        views_.emplace_back(bytes_.data() + start, end - start);
        start = end;
    }
    if (!sink_.Row({views_, handLine_})) {
        stopped_ = true;
    }
    bytes_.clear();
    ends_.clear();
}

// Line breaks inside a quoted field: LF, CR LF and a lone CR count once.
void CsvReader::CountLineBreaks(std::string_view quoted)
{
    for (const char c : quoted) {
        if (c == '\r') {
            ++line_;
        } else if (c == '\n' && !crInQuotes_) {
            ++line_;
        }
        crInQuotes_ = c == '\r';
    }
}

CsvError ReadCsv(std::FILE* in, CsvSink& sink, char separator)
{
    CsvReader reader(sink, separator);
    std::string piece(kPieceBytes, '\0');
    while (!reader.stopped()) {
        const std::size_t got = std::fread(piece.data(), 1, piece.size(), in);
        reader.Feed({piece.data(), got});
        if (got < piece.size()) {
            if (std::ferror(in) != 0) {
                reader.Fail(std::string("no se pudo leer: ") + std::strerror(errno));
            }
            break;
        }
    }
    return reader.Finish();
}

CsvWriter::CsvWriter(std::FILE* out, char separator, Encoding encoding)
    : out_(out)
{
    Use(separator, encoding);
    buffer_.reserve(kPieceBytes + kPieceBytes / 4);
}

CsvWriter::~CsvWriter()
{
    Flush();
}

void CsvWriter::Use(char separator, Encoding encoding)
{
    separator_ = separator;
    encoding_ = encoding;
    quoted_ = SpecialBytes(separator);
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
        buffer_.push_back(separator_);
    }
    lastFieldEmpty_ = value.empty();
    if (std::none_of(value.begin(), value.end(),
                     [this](char c) { return quoted_[static_cast<unsigned char>(c)]; })) {
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

void CsvWriter::Text(std::string_view utf8)
{
    if (encoding_ == Encoding::Utf8) {
        Field(utf8);
        return;
    }
    converted_.clear();
    AppendUtf8AsWindows1252(utf8, converted_);
    Field(converted_);
}

void CsvWriter::EndRow()
{
    if (rowFields_ == 1 && lastFieldEmpty_) {
        buffer_.append("\"\"");
    }
    buffer_.append(lineEnd_);
    rowFields_ = 0;
    if (buffer_.size() >= kPieceBytes) {
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
