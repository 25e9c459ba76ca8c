// The federal states of birth offered by the state list, and the code taken
// out of a chosen entry.
#ifndef LLAVE_STATE_CATALOGUE_H
#define LLAVE_STATE_CATALOGUE_H

#include <QString>
#include <QStringList>
#include <QStringView>

// The 33 entries of the library's state catalogue, "code: NAME", in the order
// the list shows them (not sorted by code); the last is for persons born abroad.
QStringList stateEntries();

// The entry of stateEntries() that the letters typed so far point to, by its
// code or its name (curp::SearchState: "ch" gives "CH: CHIHUAHUA", "nuevo
// leon" "NL: NUEVO LEON"); -1 when none does.
int searchStates(const QString& typed);

// The two-letter code of a state entry: the characters before its first ':'
// ("DF: DISTRITO FEDERAL" gives "DF"). Empty when no entry is chosen (empty
// text) and, as well, for a text that has no ':'.
QString CveStr(QStringView StrText);

#endif // LLAVE_STATE_CATALOGUE_H
