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
    // A field begun in an earlier piece goes on here; what it had is kept.
    start_ = data;
    quote_ = data;
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
            [[fallthrough]]; // the first field starts here
        case State::FieldStart:
            if (c == '"') {
                ++i;
                state_ = State::Quoted;
                start_ = data + i;
                crInQuotes_ = false;
                continue;
            }
            state_ = State::Unquoted;
            start_ = data + i;
            [[fallthrough]];
        case State::Unquoted: {
            while (i < size && !special_[static_cast<unsigned char>(data[i])]) {
                ++i;
            }
            if (i == size) {
                break;
            }
            const char stop = data[i];
            if (stop == separator_) {
                EndField(data + i++, false);
                state_ = State::FieldStart;
            } else if (stop == '"') {
                FailRow(kStrayQuote);
            } else {
                EndField(data + i++, false);
                EndRow(stop == '\r');
            }
            break;
        }
        case State::Quoted: {
            const void* quote = std::memchr(data + i, '"', size - i);
            const std::size_t end =
                quote == nullptr ? size
                                 : static_cast<std::size_t>(static_cast<const char*>(quote) - data);
            CountLineBreaks({data + i, end - i});
            i = end;
            if (i < size) {
                quote_ = data + i++;
                state_ = State::QuoteInQuoted;
            }
            break;
        }
        case State::QuoteInQuoted:
            ++i;
            if (c == '"') {
                // A doubled quote stands for one: the field is kept up to the
                // first quote, which stays, and goes on after the second.
                crInQuotes_ = false;
                Own(start_, quote_ + 1);
                start_ = data + i;
                state_ = State::Quoted;
            } else if (c == separator_) {
                EndField(quote_, true);
                state_ = State::FieldStart;
            } else if (c == '\n' || c == '\r') {
                EndField(quote_, true);
                EndRow(c == '\r');
            } else {
                FailRow(kStrayQuote);
            }
            break;
        }
    }
    if (stopped_) {
        return false;
    }
    // The piece is about to be overwritten: whatever of the row it holds is kept.
    OwnRow();
    if (state_ == State::Unquoted || state_ == State::Quoted) {
        Own(start_, data + size);
    } else if (state_ == State::QuoteInQuoted) {
        Own(start_, quote_);
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
    start_ = nullptr; // everything read is kept by now
    if (state_ == State::Quoted) {
        FailRow("comillas sin cerrar hasta el final del archivo");
    } else if (state_ != State::RowStart && !stopped_) {
        // The last line has no line end.
        EndField(nullptr, state_ == State::QuoteInQuoted);
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

// Keeps bytes of the field being read in bytes_, after the fields before it.
bool CsvReader::Own(const char* begin, const char* end)
{
    if (!copied_) {
        OwnRow();
        copied_ = true;
        fieldOffset_ = bytes_.size();
    }
    const auto size = static_cast<std::size_t>(end - begin);
    if (bytes_.size() + size > kMaxRowBytes) {
        FailRow("fila de más de 8 MiB; ¿unas comillas sin cerrar?");
        return false;
    }
    bytes_.append(begin, size);
    return true;
}

// Keeps the row's finished fields that are still where they were read.
void CsvReader::OwnRow()
{
    for (FieldRef& field : fields_) {
        if (field.data != nullptr) {
            field.offset = bytes_.size();
            bytes_.append(field.data, field.size);
            field.data = nullptr;
        }
    }
}

void CsvReader::EndField(const char* end, bool quoted)
{
    if (copied_) {
        if (!Own(start_, end)) {
            return;
        }
        fields_.push_back({nullptr, bytes_.size() - fieldOffset_, fieldOffset_, quoted});
        copied_ = false;
    } else {
        fields_.push_back({start_, static_cast<std::size_t>(end - start_), 0, quoted});
    }
    rowBytes_ += fields_.back().size;
    if (rowBytes_ > kMaxRowBytes) {
        FailRow("fila de más de 8 MiB; ¿unas comillas sin cerrar?");
    }
}

void CsvReader::EndRow(bool cr)
{
    if (stopped_) {
        return;
    }
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
    quoted_.clear();
    for (const FieldRef& field : fields_) {
        views_.emplace_back(field.data != nullptr ? field.data : bytes_.data() + field.offset,
                            field.size);
        quoted_.push_back(static_cast<char>(field.quoted));
    }
    if (!sink_.Row({views_, handLine_, quoted_})) {
        stopped_ = true;
    }
    bytes_.clear();
    fields_.clear();
    rowBytes_ = 0;
}

// Line breaks inside a quoted field: LF, CR LF and a lone CR count once.
void CsvReader::CountLineBreaks(std::string_view quoted)
{
    for (const char c : quoted) {
        if (c == '\r' || (c == '\n' && !crInQuotes_)) {
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
    , buffer_(2 * kPieceBytes, '\0')
{
    Use(separator, encoding);
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
        Room(kByteOrderMark.size());
        Put(kByteOrderMark);
    }
}

void CsvWriter::Room(std::size_t bytes)
{
    if (used_ + bytes > buffer_.size()) {
        WriteOut();
        if (bytes > buffer_.size()) {
            buffer_.resize(bytes);
        }
    }
}

void CsvWriter::Put(std::string_view bytes)
{
    std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
}

void CsvWriter::Field(std::string_view value)
{
    // At most a separator, two quotes and every byte doubled.
    Room(2 * value.size() + 3);
    char* out = buffer_.data() + used_;
    if (rowFields_++ > 0) {
        *out++ = separator_;
    }
    lastFieldEmpty_ = value.empty();
    bool quoted = false;
    for (const char c : value) {
        quoted |= quoted_[static_cast<unsigned char>(c)];
    }
    if (!quoted) {
        if (!value.empty()) { // an empty view may have no data at all
            std::memcpy(out, value.data(), value.size());
        }
        out += value.size();
    } else {
        *out++ = '"';
        for (const char c : value) {
            if (c == '"') {
                *out++ = '"';
            }
            *out++ = c;
        }
        *out++ = '"';
    }
    used_ = static_cast<std::size_t>(out - buffer_.data());
}

void CsvWriter::Plain(std::string_view value)
{
    Room(value.size() + 1);
    if (rowFields_++ > 0) {
        buffer_[used_++] = separator_;
    }
    lastFieldEmpty_ = value.empty();
    if (!value.empty()) {
        Put(value);
    }
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
    Room(lineEnd_.size() + 2);
    if (rowFields_ == 1 && lastFieldEmpty_) {
        Put("\"\"");
    }
    Put(lineEnd_);
    rowFields_ = 0;
    ++rowsEnded_;
    if (used_ >= kPieceBytes) {
        WriteOut();
    }
}

void CsvWriter::WriteOut()
{
    // Each piece goes on to the file at once, so that a full disk is known
    // at the piece it refused.
    if (!failed_ && used_ > 0 &&
        (std::fwrite(buffer_.data(), 1, used_, out_) != used_ || std::fflush(out_) != 0)) {
        failed_ = true;
        error_ = errno;
    }
    // Every row ended before this piece went out whole; a row begun is only
    // in part.
    rowsWritten_ = failed_ ? rowsWritten_ : rowsEnded_;
    used_ = 0;
}

bool CsvWriter::Flush()
{
    WriteOut();
    if (!failed_ && std::fflush(out_) != 0) {
        failed_ = true;
        error_ = errno;
    }
    return !failed_;
}

void CsvCopy::Begin(bool byteOrderMark, bool crlf)
{
    writer_.Begin(byteOrderMark, crlf);
}

bool CsvCopy::Row(const CsvRow& row)
{
    for (std::size_t i = 0; i < row.fields.size(); ++i) {
        if (i < row.quoted.size() && row.quoted[i] == 0) {
            writer_.Plain(row.fields[i]);
        } else {
            writer_.Field(row.fields[i]);
        }
    }
    writer_.EndRow();
    return true;
}

} // namespace curp::cli
