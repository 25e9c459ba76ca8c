// The federal states of birth: the catalogue whose codes stand at positions
// 12-13 of a key, and the look-ups a person needs to find a state by its name.
#ifndef CURP_STATES_H
#define CURP_STATES_H

#include <span>
#include <string>
#include <string_view>

namespace curp {

// One entry of the catalogue. Both texts are UTF-8 and upper case.
struct State {
    std::string_view code; // the two letters of the key: "DF"
    std::string_view name; // as the state list shows it: "DISTRITO FEDERAL", "MÉXICO"
};

// The 33 entries in the order the state list shows them (not sorted by code:
// CS comes before CH). The last, "NE: EXTRANJERO", is for persons born abroad.
std::span<const State> States() noexcept;

// The entry as the state list shows it: "DF: DISTRITO FEDERAL".
std::string StateEntry(const State& state);

// The state whose code is `code` (two letters, any case), or nullptr.
const State* FindStateByCode(std::string_view code) noexcept;

// The state a person means by `text`, compared without regard to case,
// accents, dots, hyphens or blanks: its code ("df"), its name ("nuevo león",
// "Michoacan", "  baja  california sur "), its ISO 3166-2:MX code ("QUE",
// "CMX"), INEGI's number ("01" to "32", also without the leading zero), a
// usual abbreviation ("Qro.", "S.L.P.", "B.C.S.", "Edomex", "Edo. Méx.",
// "D.F.", "CDMX", "Nvo. León") or another name it goes by, long or old
// ("Ciudad de México", "Querétaro de Arteaga", "Veracruz-Llave", "Baja
// California Norte"). A country ("Estados Unidos", "EUA", "Guatemala",
// "España") or "extranjero" is NE, the entry for births abroad. nullptr when
// nothing matches exactly or the text is not valid UTF-8.
const State* FindState(std::string_view text) noexcept;

// What FindState finds, and whether the text named a country or abroad
// rather than the code NE: a key with NE for "Guatemala" is right, but the
// person reading the result should see that the country became NE.
struct StateReading {
    const State* state = nullptr;
    bool abroad = false;
};
StateReading ReadState(std::string_view text) noexcept;

// What a front end says of a reading with `abroad` set.
inline constexpr std::string_view kBornAbroadNote = "nacido en el extranjero: NE";

// The state the letters typed so far point to, for a list searched while
// typing, compared as FindState does: the state that FindState finds
// ("qro" gives QT: QUERETARO, "son" SR: SONORA, "ch" CH: CHIHUAHUA);
// otherwise the first state, in list order, whose code or catalogue name
// starts with `typed` ("chi" gives CS: CHIAPAS, "q" QT, "nuevo" NL);
// otherwise the first, in list order, of the other names that starts so
// ("edo" gives MC, "cd" DF). nullptr when nothing starts so, `typed` is empty
// or not valid UTF-8.
const State* SearchState(std::string_view typed) noexcept;

// The form in which names are compared, read as the key reads names: letters
// in upper case, accents and other marks removed ("Michoacán" gives
// "MICHOACAN", "Ōaxaca" "OAXACA", "ñ" gives "N"), any white space a plain
// space, invisible format characters dropped, every other character kept.
// Empty for text that is not valid UTF-8.
std::string FoldForSearch(std::string_view text);

} // namespace curp

#endif // CURP_STATES_H
