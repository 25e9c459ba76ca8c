// The federal states of birth offered by the state list.
#ifndef LLAVE_STATE_CATALOGUE_H
#define LLAVE_STATE_CATALOGUE_H

#include <QString>
#include <QStringList>

class QComboBox;

// The 33 entries of the library's state catalogue, "code: NAME", in the order
// the list shows them (not sorted by code); the last is for persons born abroad.
QStringList stateEntries();

// Adds the entries of stateEntries() to `list`, each carrying its state's
// two-letter code as its data ("DF: DISTRITO FEDERAL" carries "DF").
void addStates(QComboBox* list);

// The entry of stateEntries() that the letters typed so far point to, by its
// code, name or abbreviation (curp::SearchState: "ch" gives "CH: CHIHUAHUA",
// "qro" "QT: QUERETARO"); -1 when none does.
int searchStates(const QString& typed);

#endif // LLAVE_STATE_CATALOGUE_H
