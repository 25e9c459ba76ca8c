#include "state_catalogue.h"

#include <curp/states.h>

#include <QComboBox>

QStringList stateEntries()
{
    QStringList list;
    list.reserve(qsizetype(curp::States().size()));
    for (const curp::State& state : curp::States())
        list.append(QString::fromStdString(curp::StateEntry(state)));
    return list;
}

void addStates(QComboBox* list)
{
    const QStringList entries = stateEntries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::string_view code = curp::States()[std::size_t(i)].code;
        list->addItem(entries[i], QString::fromLatin1(code.data(), qsizetype(code.size())));
    }
}

int searchStates(const QString& typed)
{
    const curp::State* state = curp::SearchState(typed.toStdString());
    return state ? int(state - curp::States().data()) : -1;
}
