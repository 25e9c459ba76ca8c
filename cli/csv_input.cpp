#include "csv_input.h"

#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace curp::cli {
namespace {

constexpr std::size_t kFirstLineKept = std::size_t{1} << 16;
constexpr std::size_t kStartKept = 8;

std::string ReadFailure()
{
    return std::string("no se pudo leer: ") + std::strerror(errno);
}

#ifdef _WIN32
// A file in %TEMP% that Windows deletes once it is closed, even when the
// program is stopped (an open file cannot be deleted there, as it is below);
// null, with errno set, when none can be made.
std::FILE* TemporaryFile()
{
    std::wstring folder(MAX_PATH + 1, L'\0');
    folder.resize(GetTempPathW(static_cast<DWORD>(folder.size()), folder.data()));
    std::wstring path(MAX_PATH + 1, L'\0');
    if (folder.empty() || GetTempFileNameW(folder.c_str(), L"crp", 0, path.data()) == 0) {
        errno = ENOENT;
        return nullptr;
    }
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EACCES;
        DeleteFileW(path.c_str());
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "w+b");
    if (file == nullptr) {
        _close(fd);
    }
    return file;
}
#else
// An unnamed file in TMPDIR (or /tmp), gone once closed; null when none can be made.
std::FILE* TemporaryFile()
{
    const char* folder = std::getenv("TMPDIR");
    std::string path = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                       "/curp-entrada-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) {
        return nullptr;
    }
    unlink(path.c_str());
    std::FILE* file = fdopen(fd, "w+b");
    if (file == nullptr) {
        close(fd);
    }
    return file;
}
#endif

// Finds the first line that is not empty, however the input is cut into
// pieces, and counts the separators it holds outside quotes.
class FirstLine
{
public:
    // True once the line has ended.
    bool Feed(std::string_view piece)
    {
        const auto end = std::find_if(piece.begin(), piece.end(), [this](char c) {
            const bool lineEnd = c == '\n' || c == '\r';
            if (!started_ && lineEnd) {
                return false;
            }
            started_ = true;
            if (c == '"') {
                quoted_ = !quoted_;
            } else if (!quoted_ && lineEnd) {
                return true;
            }
            if (text_.size() < kFirstLineKept) {
                text_.push_back(c);
            }
            return false;
        });
        return end != piece.end();
    }

    const std::string& text() const noexcept
    {
        return text_;
    }

private:
    std::string text_;
    bool started_ = false;
    bool quoted_ = false;
};

} // namespace

char DetectSeparator(std::string_view line)
{
    std::array<std::size_t, 3> counts{};
    constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted) {
            for (std::size_t i = 0; i < kSeparators.size(); ++i) {
                counts.at(i) += c == kSeparators.at(i) ? 1 : 0;
            }
        }
    }
    // The first of the most frequent, so that a tie goes to the comma.
    return kSeparators.at(
        static_cast<std::size_t>(std::max_element(counts.begin(), counts.end()) - counts.begin()));
}

CsvInput::CsvInput(std::FILE* in, CsvChoices choices)
    : in_(in)
    , choices_(choices)
{}

CsvInput::~CsvInput()
{
    if (copy_ != nullptr) {
        std::fclose(copy_);
    }
}

CsvError CsvInput::Scan(CsvSink& look)
{
    // A regular file (or one in memory, which has no descriptor) can be read
    // again from where it starts; anything else is copied as it is read.
    const int fd = fileno(in_);
    struct stat status {};
    const bool regular = fd < 0 || (fstat(fd, &status) == 0 && S_ISREG(status.st_mode));
    start_ = regular ? ftello(in_) : -1;
    if (start_ >= 0) {
        source_ = in_;
    } else {
        start_ = 0;
        copy_ = TemporaryFile();
        if (copy_ == nullptr) {
            return {std::string("no se pudo crear un archivo temporal para leer la entrada: ") +
                    std::strerror(errno)};
        }
        source_ = copy_;
    }

    EncodingDetector detector;
    FirstLine firstLine;
    std::string held; // what was read before the separator is known
    std::unique_ptr<CsvReader> reader;
    const auto startReading = [&] {
        layout_.firstLine = firstLine.text();
        layout_.separator = choices_.separator.value_or(DetectSeparator(layout_.firstLine));
        reader = std::make_unique<CsvReader>(look, layout_.separator);
        reader->Feed(held);
        held = std::string();
    };
    std::string piece(kPieceBytes, '\0');
    for (;;) {
        const std::size_t got = std::fread(piece.data(), 1, piece.size(), in_);
        const std::string_view bytes(piece.data(), got);
        if (copy_ != nullptr && std::fwrite(bytes.data(), 1, got, copy_) != got) {
            return {std::string("no se pudo guardar la entrada en un archivo temporal: ") +
                    std::strerror(errno)};
        }
        size_ += got;
        detector.Feed(bytes);
        layout_.start.append(bytes.substr(0, kStartKept - layout_.start.size()));
        if (reader) {
            reader->Feed(bytes);
        } else {
            held.append(bytes);
            if (firstLine.Feed(bytes) || held.size() > kMaxRowBytes) {
                startReading();
            }
        }
        if (got < piece.size()) {
            if (std::ferror(in_) != 0) {
                return {ReadFailure()};
            }
            break;
        }
    }
    if (!reader) {
        startReading();
    }
    layout_.scanError = reader->Finish();
    detector.Finish();
    layout_.encoding = choices_.encoding.value_or(detector.Verdict());
    layout_.encodingDetected = !choices_.encoding.has_value();
    layout_.notUtf8Line = detector.InvalidLine();
    layout_.notUtf8Context = detector.InvalidContext();
    if (copy_ != nullptr && std::fflush(copy_) != 0) {
        return {std::string("no se pudo guardar la entrada en un archivo temporal: ") +
                std::strerror(errno)};
    }
    return {};
}

CsvError CsvInput::Read(CsvSink& sink)
{
    CsvReader reader(sink, layout_.separator);
    if (fseeko(source_, start_, SEEK_SET) != 0) {
        reader.Fail(ReadFailure());
        return reader.Finish();
    }
    std::string piece(kPieceBytes, '\0');
    // Exactly the bytes of the first pass, even if the file has grown since.
    for (std::size_t left = size_; left > 0 && !reader.stopped();) {
        const std::size_t want = std::min(left, piece.size());
        const std::size_t got = std::fread(piece.data(), 1, want, source_);
        reader.Feed({piece.data(), got});
        left -= got;
        if (got < want) {
            if (std::ferror(source_) != 0) {
                reader.Fail(ReadFailure());
            }
            break;
        }
    }
    return reader.Finish();
}

} // namespace curp::cli
