// The two encodings in which spreadsheets write CSV files: UTF-8, and
// Windows-1252 (the default of older spreadsheets and of LibreOffice's
// "Text CSV" in Spanish-speaking regions). The command works in UTF-8 and
// writes its output in the encoding of its input.
#ifndef CURP_CLI_ENCODING_H
#define CURP_CLI_ENCODING_H

#include <cstddef>
#include <string>
#include <string_view>

namespace curp::cli {

enum class Encoding { Utf8, Windows1252 };

// "UTF-8" or "Windows-1252".
std::string_view NameOf(Encoding encoding) noexcept;

// Appends the UTF-8 of Windows-1252 bytes to `out`. Every byte has a
// character: the five that Windows-1252 leaves unassigned (81, 8D, 8F, 90,
// 9D) become the control characters of the same number, as browsers read them.
void AppendWindows1252AsUtf8(std::string_view bytes, std::string& out);

// Appends UTF-8 text to `out` in Windows-1252; a character that Windows-1252
// lacks, or a byte that is not UTF-8, becomes "?".
void AppendUtf8AsWindows1252(std::string_view text, std::string& out);

// Decides the encoding of a file from its bytes, given in pieces: UTF-8,
// unless the file holds a byte sequence that is not UTF-8 and no valid
// multi-byte sequence comes before the first such one (text in Windows-1252
// that happens to be valid UTF-8 is next to impossible, whereas one stray
// byte in a UTF-8 file is a fault of that row, not of the whole file).
class EncodingDetector
{
public:
    void Feed(std::string_view piece);
    // The end of the file: a sequence cut short there is not UTF-8.
    void Finish();

    Encoding Verdict() const noexcept
    {
        return invalidAt_ != kNone && !multiByteSeen_ ? Encoding::Windows1252 : Encoding::Utf8;
    }
    // Where the first byte that is not UTF-8 stands: its line (from 1) and
    // the bytes around it within that line; line 0 when there is none.
    std::size_t InvalidLine() const noexcept
    {
        return invalidAt_ == kNone ? 0 : invalidLine_;
    }
    const std::string& InvalidContext() const noexcept
    {
        return context_;
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    void Invalid(std::string_view piece, std::size_t at);

    std::size_t offset_ = 0; // bytes fed before the current piece
    std::size_t invalidAt_ = kNone;
    std::size_t lineFeeds_ = 0; // line ends before the first invalid byte,
    std::size_t returns_ = 0;   // counted as LF and, for CR-only files, as CR
    std::size_t invalidLine_ = 0;
    std::string context_;
    // The sequence being read: continuation bytes still due and the range
    // the next one must be in (narrower after E0, ED, F0 and F4).
    int pending_ = 0;
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
    bool multiByteSeen_ = false;
};

} // namespace curp::cli

#endif // CURP_CLI_ENCODING_H
