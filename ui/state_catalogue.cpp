#include "state_catalogue.h"

#include <array>

namespace {

// One entry a line, as the list shows them.
// clang-format off
constexpr std::array<const char16_t *, 33> entries{
    u"AS: AGUASCALIENTES",
    u"BC: BAJA CALIFORNIA",
    u"BS: BAJA CALIFORNIA SUR",
    u"CC: CAMPECHE",
    u"CS: CHIAPAS",
    u"CH: CHIHUAHUA",
    u"CL: COAHUILA",
    u"CM: COLIMA",
    u"DF: DISTRITO FEDERAL",
    u"DG: DURANGO",
    u"GT: GUANAJUATO",
    u"GR: GUERRERO",
    u"HG: HIDALGO",
    u"JC: JALISCO",
    u"MC: MÉXICO",
    u"MN: MICHOACÁN",
    u"MS: MORELOS",
    u"NT: NAYARIT",
    u"NL: NUEVO LEON",
    u"OC: OAXACA",
    u"PL: PUEBLA",
    u"QT: QUERETARO",
    u"QR: QUINTANA ROO",
    u"SP: SAN LUIS POTOSI",
    u"SL: SINALOA",
    u"SR: SONORA",
    u"TC: TABASCO",
    u"TS: TAMAULIPAS",
    u"TL: TLAXCALA",
    u"VZ: VERACRUZ",
    u"YN: YUCATÁN",
    u"ZS: ZACATECAS",
    u"NE: EXTRANJERO",
};
// clang-format on

} // namespace

QStringList stateEntries()
{
    QStringList list;
    list.reserve(qsizetype(entries.size()));
    for (const char16_t* entry : entries)
        list.append(QString::fromUtf16(entry));
    return list;
}

QString CveStr(QStringView StrText)
{
    // Only catalogue entries and the empty text come from the state list;
    // anything else without a colon has no code to give.
    const qsizetype colon = StrText.indexOf(u':');
    if (colon < 0)
        return {};
    return StrText.first(colon).toString();
}
