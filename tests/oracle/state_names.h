// What people write for a state besides its code and catalogue name: the
// ISO 3166-2:MX codes, the usual abbreviations and other names, each with
// the state's code, and some as typed in a hurry. One table for the
// library's search and for the window's state list.
#ifndef LLAVE_TESTS_STATE_NAMES_H
#define LLAVE_TESTS_STATE_NAMES_H

#include <string_view>
#include <utility>

// clang-format off
inline constexpr std::pair<std::string_view, std::string_view> kStateNames[] = {
    {"AGU", "AS"}, {"BCN", "BC"}, {"BCS", "BS"}, {"CAM", "CC"}, {"CHP", "CS"}, {"CHH", "CH"},
    {"COA", "CL"}, {"COL", "CM"}, {"CMX", "DF"}, {"DUR", "DG"}, {"GUA", "GT"}, {"GRO", "GR"},
    {"HID", "HG"}, {"JAL", "JC"}, {"MEX", "MC"}, {"MIC", "MN"}, {"MOR", "MS"}, {"NAY", "NT"},
    {"NLE", "NL"}, {"OAX", "OC"}, {"PUE", "PL"}, {"QUE", "QT"}, {"ROO", "QR"}, {"SLP", "SP"},
    {"SIN", "SL"}, {"SON", "SR"}, {"TAB", "TC"}, {"TAM", "TS"}, {"TLA", "TL"}, {"VER", "VZ"},
    {"YUC", "YN"}, {"ZAC", "ZS"},
    {"Ags.", "AS"}, {"B.C.", "BC"}, {"B.C.S.", "BS"}, {"Camp.", "CC"}, {"Chis.", "CS"},
    {"Chih.", "CH"}, {"Coah.", "CL"}, {"Col.", "CM"}, {"CDMX", "DF"}, {"D.F.", "DF"},
    {"Dgo.", "DG"}, {"Gto.", "GT"}, {"Gro.", "GR"}, {"Hgo.", "HG"}, {"Jal.", "JC"},
    {"Edomex", "MC"}, {"Edo. Méx.", "MC"}, {"Estado de México", "MC"}, {"Méx.", "MC"},
    {"Mich.", "MN"}, {"Mor.", "MS"}, {"Nay.", "NT"}, {"N.L.", "NL"}, {"Oax.", "OC"},
    {"Pue.", "PL"}, {"Qro.", "QT"}, {"Q. Roo", "QR"}, {"S.L.P.", "SP"}, {"Sin.", "SL"},
    {"Son.", "SR"}, {"Tab.", "TC"}, {"Tamps.", "TS"}, {"Tlax.", "TL"}, {"Ver.", "VZ"},
    {"Yuc.", "YN"}, {"Zac.", "ZS"},
    {"Extranjero", "NE"}, {"Nacido en el extranjero", "NE"},
    {"Veracruz de Ignacio de la Llave", "VZ"}, {"Michoacán de Ocampo", "MN"},
    {"Coahuila de Zaragoza", "CL"}, {"Cd. de México", "DF"}, {"Edo. de México", "MC"},
    {"edo mex", "MC"}, {"qro", "QT"}, {"slp", "SP"}, {"bcs", "BS"}, {"edomex", "MC"},
    {"estado de mexico", "MC"},
};
// clang-format on

#endif // LLAVE_TESTS_STATE_NAMES_H
