// Computation of the CURP, the 18-character Mexican population registry key.
#ifndef CURP_CALC_CLAVE_H
#define CURP_CALC_CLAVE_H

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace curp {

// The characters of a whole key.
inline constexpr std::size_t kKeyLength = 18;

namespace detail {
struct TraceWriter;
}

// A record of one computation of the key, step by step, so that ExplainKey
// (curp/explain.h) can say where each character came from without computing
// the key again. Filled by the Calc_Clave calls that take one; each call
// replaces what an earlier one recorded.
class KeyTrace
{
public:
    KeyTrace();
    ~KeyTrace();
    KeyTrace(KeyTrace&& other) noexcept;
    KeyTrace& operator=(KeyTrace&& other) noexcept;
    KeyTrace(const KeyTrace&) = delete;
    KeyTrace& operator=(const KeyTrace&) = delete;

    // What was recorded, for the library's own use; null before a computation.
    struct Record;
    const Record* record() const noexcept
    {
        return record_.get();
    }

private:
    friend struct detail::TraceWriter;
    std::unique_ptr<Record> record_;
};

// Computes the key from the person's data.
//
//   Ap       paternal surname (may be empty if Am is not)
//   Am       maternal surname (may be empty)
//   Nm       given name or names
//   FB       date of birth; any year is accepted, the key holds it modulo 100
//   CveSexo  sex letter, "H" or "M"; copied into the key as given
//   CveEnt   two-letter state code, or empty; copied into the key as given
//
// The names are read as the person means them and as the registry writes
// them, before anything else: letters in upper case ("gómez" is "GÓMEZ"),
// every Latin letter with diacritics as its letter A-Z but "Ñ" ("GÓMEZ" is
// "GOMEZ"), decomposed accents as the letter they sit on ("N" and U+0303 is
// "Ñ"), every kind of white space (tab, no-break space, ...) as a space, and
// invisible characters (zero-width spaces, direction marks, U+FEFF) left out.
// A name of nothing but spaces and invisible characters is missing. The
// apostrophes people type ("’", "ʼ", "´", "`") are read as "'", which is left
// out.
//
// Words count as the registry counts them: the particles it omits (DE, DEL,
// DE LA, DE LOS, DE LAS, DE EL, Y, MC, VAN, DA, DAS, DER, DI, DIE, DD, EL,
// LA, LOS, LAS, LE, LES, MAC, VON) go only as whole words ("IVAN" and "GUY"
// keep their letters); a first given name JOSE or MARIA, also written "J.",
// "J", "MA." or "MA", gives way to the next one; and a space or a sign after
// the first letter of the paternal surname, before its first vowel, gives "X"
// ("O RELLING" begins "OX", "D/AMICO" "DX").
//
// The key holds letters A-Z only at positions 1-4 and 14-16: any other
// character the rules would take there (a digit, a hyphen, a letter of
// another script) is written "X". Position 17 is "0" for a birth before
// 1 January 2000 and "A" from that day on, the first values the registry
// gives; it changes them for persons whose first 16 characters coincide.
// With a sex letter (H, M or X) and a state code of the catalogue, every key
// of 18 characters passes CheckKey without findings.
//
// Returns the 18-character key; a shorter text, without check digit, when a
// piece is missing (no state code, a one-letter given name after a short
// surname, ...); a longer one when CveSexo or CveEnt is longer than usual (the
// check digit, last, still covers the first 17 characters). Returns the empty
// text when there is no given name or no surname, when a text is not valid
// Unicode (a value outside U+0000..U+10FFFF or a surrogate), when FB is not a
// real calendar date, or when memory runs out. Characters are Unicode code
// points; the arguments are never changed.
std::u32string Calc_Clave(std::u32string_view Ap, std::u32string_view Am, std::u32string_view Nm,
                          std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt) noexcept;

// The same computation on UTF-8 texts; the result is UTF-8. Text that is not
// well-formed UTF-8 (overlong forms, surrogates, values beyond U+10FFFF,
// truncated or stray sequences) gives the empty result.
std::string Calc_Clave(std::string_view Ap, std::string_view Am, std::string_view Nm,
                       std::chrono::year_month_day FB, std::string_view CveSexo,
                       std::string_view CveEnt) noexcept;

// The same computations, recording each step in `trace` for ExplainKey.
std::u32string Calc_Clave(std::u32string_view Ap, std::u32string_view Am, std::u32string_view Nm,
                          std::chrono::year_month_day FB, std::u32string_view CveSexo,
                          std::u32string_view CveEnt, KeyTrace& trace) noexcept;
std::string Calc_Clave(std::string_view Ap, std::string_view Am, std::string_view Nm,
                       std::chrono::year_month_day FB, std::string_view CveSexo,
                       std::string_view CveEnt, KeyTrace& trace) noexcept;

} // namespace curp

#endif // CURP_CALC_CLAVE_H
