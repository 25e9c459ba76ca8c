// What a window on the library says of the key it shows and of what the
// person typed: the same words in every window, whatever its toolkit.
#ifndef CURP_WINDOW_TEXTS_H
#define CURP_WINDOW_TEXTS_H

#include <string>
#include <string_view>

namespace curp {

// Said of a key shown once the data it was computed from have changed.
inline constexpr std::string_view kStaleKeyText = "los datos cambiaron: pulse Calcular";

// Said when a copy of such a key is refused.
inline constexpr std::string_view kStaleCopyRefused =
    "No se copió la clave; los datos cambiaron: pulse Calcular";

// Said of a lone "m" typed into the sex list: it starts masculino, and is
// the key's letter for a woman (mujer).
inline constexpr std::string_view kAmbiguousSexText =
    "M: ¿masculino o mujer? Escriba h, hombre, masculino o mujer, f, femenino";

// Said of the sex list's entry `entry` ("Masculino"), which gives the key
// the letter `letter` ("H"): the list's words and the key's letters differ.
inline std::string SexEntryDescription(std::string_view entry, std::string_view letter)
{
    return std::string(entry) + " (" + std::string(letter) + " en la clave)";
}

// Said of a key that CouldBeRegistryKey says cannot be the registry's.
inline constexpr std::string_view kNotRegistryKeyText =
    "Esta clave no puede ser la CURP del registro";

// The date the date box starts with, as it shows it.
inline constexpr std::string_view kInitialDateText = "01/01/1980";

// The warning for a key computed from the date box's initial date, never
// edited: the person may have forgotten to give the date of birth.
inline std::string UntouchedDateWarning()
{
    return "la fecha de nacimiento es la inicial (" + std::string(kInitialDateText) +
           "); ¿es la correcta?";
}

} // namespace curp

#endif // CURP_WINDOW_TEXTS_H
