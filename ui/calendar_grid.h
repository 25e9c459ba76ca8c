// The days of the date box's calendar as screen readers meet them.
#ifndef LLAVE_CALENDAR_GRID_H
#define LLAVE_CALENDAR_GRID_H

class QAccessibleInterface;
class QTableView;

// The accessibility interface of the grid of days inside a QCalendarWidget:
// a table named "Calendario" whose cells say their whole date ("miércoles,
// 23 de abril de 1975") instead of the bare day number, so that moving a
// week or a month also says where one has arrived; the cells of the first
// row, which holds the day names, say the whole name of the day.
QAccessibleInterface* makeCalendarGrid(QTableView* view);

#endif // LLAVE_CALENDAR_GRID_H
