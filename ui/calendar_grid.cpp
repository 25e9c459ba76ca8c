#include "calendar_grid.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCalendarWidget>
#include <QDate>
#include <QHash>
#include <QItemSelectionModel>
#include <QLocale>
#include <QPointer>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

class CalendarGrid;

class DayCell final : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    DayCell(QTableView* view, int row, int column)
        : view(view)
        , row(row)
        , column(column)
    {}

    bool isValid() const override
    {
        return !view.isNull() && row < view->model()->rowCount() &&
               column < view->model()->columnCount();
    }
    // A place of the view's hidden headers, which Qt counts among the
    // table's children: row -1 for the column headers, column -1 for the
    // row headers.
    bool isHeaderPlace() const
    {
        return row < 0 || column < 0;
    }
    QObject* object() const override
    {
        return nullptr;
    }
    QWindow* window() const override
    {
        return view ? view->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(view);
    }
    QAccessibleInterface* child(int /*index*/) const override
    {
        return nullptr;
    }
    int childCount() const override
    {
        return 0;
    }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override
    {
        return -1;
    }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override
    {
        return nullptr;
    }
    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    QRect rect() const override;
    QAccessible::Role role() const override
    {
        if (column < 0)
            return QAccessible::RowHeader;
        return row < 0 || isDayNameRow() ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface && !isHeaderPlace()
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override
    {
        return !view.isNull() && view->selectionModel()->isSelected(index());
    }
    // None: every cell says its day of the week already.
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        return {};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override
    {
        return {};
    }
    int columnIndex() const override
    {
        return column;
    }
    int rowIndex() const override
    {
        return row;
    }
    int columnExtent() const override
    {
        return 1;
    }
    int rowExtent() const override
    {
        return 1;
    }
    QAccessibleInterface* table() const override
    {
        return parent();
    }

private:
    QModelIndex index() const
    {
        return view->model()->index(row, column);
    }
    QCalendarWidget* calendar() const
    {
        return qobject_cast<QCalendarWidget*>(view->parentWidget());
    }
    // The rows above the weeks: the day names, where the calendar shows them.
    int nameRows() const
    {
        const QCalendarWidget* owner = calendar();
        return owner && owner->horizontalHeaderFormat() != QCalendarWidget::NoHorizontalHeader ? 1
                                                                                               : 0;
    }
    bool isDayNameRow() const
    {
        return row >= 0 && row < nameRows();
    }
    QDate date(int atRow) const;

    QPointer<QTableView> view;
    int row;
    int column;
};

QDate DayCell::date(int atRow) const
{
    const QCalendarWidget* owner = calendar();
    if (!owner)
        return {};
    const bool weekNumbers = owner->verticalHeaderFormat() == QCalendarWidget::ISOWeekNumbers;
    if (weekNumbers && column == 0)
        return {};
    // The grid shows the day of the month only, for six weeks from the end
    // of the month before the shown one to the start of the month after it.
    const int day = view->model()->index(atRow, column).data().toInt();
    const int week = atRow - nameRows();
    if (day < 1 || week < 0)
        return {};
    QDate month(owner->yearShown(), owner->monthShown(), 1);
    constexpr int middleOfMonth = 15;
    if (week <= 1 && day > middleOfMonth)
        month = month.addMonths(-1);
    else if (week >= 4 && day < middleOfMonth)
        month = month.addMonths(1);
    return {month.year(), month.month(), day};
}

QString DayCell::text(QAccessible::Text kind) const
{
    if (kind != QAccessible::Name || !isValid() || isHeaderPlace())
        return {};
    const QLocale locale = view->locale();
    if (isDayNameRow()) {
        const QDate first = date(nameRows());
        return first.isValid() ? locale.dayName(first.dayOfWeek(), QLocale::LongFormat)
                               : index().data().toString();
    }
    const QDate day = date(row);
    return day.isValid() ? locale.toString(day, QLocale::LongFormat) : index().data().toString();
}

QRect DayCell::rect() const
{
    if (!isValid() || isHeaderPlace())
        return {};
    const QRect cell = view->visualRect(index());
    return {view->viewport()->mapToGlobal(cell.topLeft()), cell.size()};
}

QAccessible::State DayCell::state() const
{
    QAccessible::State state;
    if (!isValid())
        return state;
    state.invisible = !view->isVisible() || isHeaderPlace();
    if (isHeaderPlace())
        return state;
    state.focusable = true;
    state.selectable = true;
    state.selected = isSelected();
    state.focused = view->hasFocus() && view->currentIndex() == index();
    state.disabled = !(view->model()->flags(index()) & Qt::ItemIsEnabled);
    return state;
}

class CalendarGrid final : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit CalendarGrid(QTableView* view)
        : QAccessibleWidget(view, QAccessible::Table)
    {}
    ~CalendarGrid() override
    {
        forgetCells();
    }
    Q_DISABLE_COPY_MOVE(CalendarGrid)

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && QAccessibleWidget::text(kind).isEmpty())
            return u"Calendario"_s;
        return QAccessibleWidget::text(kind);
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The children are numbered as the view numbers them in the focus and
    // selection events it sends: row after row, each row led by the place of
    // its row header and the whole led by a row of column header places,
    // although the calendar hides both headers.
    int childCount() const override
    {
        return (rowCount() + 1) * (columnCount() + 1);
    }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return place(index / (columnCount() + 1) - 1, index % (columnCount() + 1) - 1);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (auto found = places.cbegin(); found != places.cend(); ++found) {
            if (QAccessible::accessibleInterface(found.value()) == child)
                return found.key();
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QModelIndex index = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? cellAt(index.row(), index.column()) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        return view()->hasFocus() && current.isValid() ? cellAt(current.row(), current.column())
                                                       : nullptr;
    }

    QAccessibleInterface* caption() const override
    {
        return nullptr;
    }
    QAccessibleInterface* summary() const override
    {
        return nullptr;
    }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override
    {
        return int(view()->selectionModel()->selectedIndexes().size());
    }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (const QModelIndex& index : view()->selectionModel()->selectedIndexes())
            cells << cellAt(index.row(), index.column());
        return cells;
    }
    QString columnDescription(int /*column*/) const override
    {
        return {};
    }
    QString rowDescription(int /*row*/) const override
    {
        return {};
    }
    int selectedColumnCount() const override
    {
        return 0;
    }
    int selectedRowCount() const override
    {
        return 0;
    }
    int columnCount() const override
    {
        return view()->model()->columnCount();
    }
    int rowCount() const override
    {
        return view()->model()->rowCount();
    }
    QList<int> selectedColumns() const override
    {
        return {};
    }
    QList<int> selectedRows() const override
    {
        return {};
    }
    bool isColumnSelected(int /*column*/) const override
    {
        return false;
    }
    bool isRowSelected(int /*row*/) const override
    {
        return false;
    }
    bool selectRow(int /*row*/) override
    {
        return false;
    }
    bool selectColumn(int /*column*/) override
    {
        return false;
    }
    bool unselectRow(int /*row*/) override
    {
        return false;
    }
    bool unselectColumn(int /*column*/) override
    {
        return false;
    }
    void modelChange(QAccessibleTableModelChangeEvent* /*event*/) override
    {
        // A row of day names or a column of week numbers came or went.
        forgetCells();
    }

private:
    QTableView* view() const
    {
        return static_cast<QTableView*>(widget());
    }
    QAccessibleInterface* place(int row, int column) const;
    void forgetCells()
    {
        for (const QAccessible::Id id : std::as_const(places))
            QAccessible::deleteAccessibleInterface(id);
        places.clear();
    }

    // The interfaces made so far, by child index.
    mutable QHash<int, QAccessible::Id> places;
};

QAccessibleInterface* CalendarGrid::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return place(row, column);
}

QAccessibleInterface* CalendarGrid::place(int row, int column) const
{
    const int index = (row + 1) * (columnCount() + 1) + column + 1;
    if (const auto found = places.constFind(index); found != places.cend())
        return QAccessible::accessibleInterface(*found);
    auto* cell = new DayCell(view(), row, column);
    places.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

} // namespace

QAccessibleInterface* makeCalendarGrid(QTableView* view)
{
    return new CalendarGrid(view);
}
