#include "state_catalogue.h"

#include <curp/states.h>

QStringList stateEntries()
{
    QStringList list;
    list.reserve(qsizetype(curp::States().size()));
    for (const curp::State& state : curp::States())
        list.append(QString::fromStdString(curp::StateEntry(state)));
    return list;
}

int searchStates(const QString& typed)
{
    const curp::State* state = curp::SearchState(typed.toStdString());
    return state ? int(state - curp::States().data()) : -1;
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
