#include "accessibility.h"

#include "announcer.h"
#include "calendar_grid.h"
#include "date_picker.h"
#include "frm_curp.h"
#include "link_label.h"
#include "native_pixels.h"
#include "type_ahead_list.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QPointer>
#include <QTableView>
#include <QWhatsThis>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// The window, named by its caption. Its separator is drawn as a dark line
// over a light one; screen readers are shown the first only.
class FormWindow final : public QAccessibleWidget
{
public:
    explicit FormWindow(QWidget* form)
        : QAccessibleWidget(form, QAccessible::Window)
    {}

    int childCount() const override
    {
        return int(shownChildren().size());
    }

    QAccessibleInterface* child(int index) const override
    {
        const QWidgetList children = shownChildren();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        return int(shownChildren().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QWidgetList shownChildren() const
    {
        QWidgetList children;
        for (QObject* object : widget()->children()) {
            auto* control = qobject_cast<QWidget*>(object);
            if (control != nullptr && !control->isWindow() && control->objectName() != "Line2"_L1)
                children << control;
        }
        return children;
    }
};

// A list whose name is its own (its accessible name, or else its label's
// text) and whose value is the chosen entry. Its one child is the view of
// its entries, which keeps the chosen entry selected. It reads as a text
// that holds the chosen entry, all of it selected while the list has the
// focus: that text is where Orca looks for the value of a list, and a new
// text that is selected is what Orca speaks (passOnToScreenReaders tells of
// each change). Other lists show no selection, or Orca would read their
// entries as selected text wherever the focus is.
class NamedList final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit NamedList(QComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    {}

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name: {
            const QString name = QAccessibleWidget::text(QAccessible::Name);
            return name.isEmpty() ? chosen() : name;
        }
        case QAccessible::Value:
            return chosen();
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override
    {
        return 1;
    }

    QAccessibleInterface* child(int index) const override
    {
        if (index != 0)
            return nullptr;
        QAbstractItemView* view = list()->view();
        view->setCurrentIndex(list()->model()->index(list()->currentIndex(), 0));
        return QAccessible::queryAccessibleInterface(view);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override
    {
        return nullptr;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            list()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        const bool whole = selectionIndex == 0 && selectionCount() == 1;
        *startOffset = whole ? 0 : -1;
        *endOffset = whole ? int(chosen().size()) : -1;
    }
    int selectionCount() const override
    {
        return list()->hasFocus() && !chosen().isEmpty() ? 1 : 0;
    }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    int cursorPosition() const override
    {
        return 0;
    }
    void setCursorPosition(int /*position*/) override {}
    QString text(int startOffset, int endOffset) const override
    {
        return chosen().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override
    {
        return int(chosen().size());
    }
    QRect characterRect(int /*offset*/) const override
    {
        return {};
    }
    int offsetAtPoint(const QPoint& /*point*/) const override
    {
        return -1;
    }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    QComboBox* list() const
    {
        return static_cast<QComboBox*>(widget());
    }
    QString chosen() const
    {
        return list()->currentText();
    }
};

// The date box as screen readers know a date picker: a spin button whose
// text is the date, read and followed as a text box's is.
class DateBox final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit DateBox(DatePicker* box)
        : QAccessibleWidget(box, QAccessible::SpinBox)
    {}

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? box()->text() : QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !box()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        const bool one = selectionIndex == 0 && box()->hasSelectedText();
        *startOffset = one ? box()->selectionStart() : -1;
        *endOffset = one ? box()->selectionEnd() : -1;
    }
    int selectionCount() const override
    {
        return box()->hasSelectedText() ? 1 : 0;
    }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int /*selectionIndex*/) override
    {
        box()->deselect();
    }
    void setSelection(int /*selectionIndex*/, int startOffset, int endOffset) override
    {
        box()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override
    {
        return box()->cursorPosition();
    }
    void setCursorPosition(int position) override
    {
        box()->setCursorPosition(position);
    }
    QString text(int startOffset, int endOffset) const override
    {
        return box()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override
    {
        return int(box()->text().size());
    }
    QRect characterRect(int /*offset*/) const override
    {
        return {};
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    DatePicker* box() const
    {
        return static_cast<DatePicker*>(widget());
    }
};

// The web link as a link: named by the address it shows, followed by its
// "jump" action (the name such actions have on the accessibility bus) or by
// a press.
class Link final : public QAccessibleWidget
{
public:
    explicit Link(LinkLabel* link)
        : QAccessibleWidget(link, QAccessible::Link)
    {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && QAccessibleWidget::text(kind).isEmpty())
            return link()->shownText();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        return QStringList{jumpAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == jumpAction() || action == pressAction())
            link()->follow();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    static QString jumpAction()
    {
        return u"jump"_s;
    }

    LinkLabel* link() const
    {
        return static_cast<LinkLabel*>(widget());
    }
};

QAccessibleInterface* llaveInterface(const QString& className, QObject* object)
{
    if (auto* form = qobject_cast<frm_CURP*>(object))
        return new FormWindow(form);
    if (auto* list = qobject_cast<TypeAheadList*>(object))
        return new NamedList(list);
    if (auto* link = qobject_cast<LinkLabel*>(object))
        return new Link(link);
    if (auto* date = qobject_cast<DatePicker*>(object))
        return new DateBox(date);
    if (auto* announcer = qobject_cast<Announcer*>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    // Qt's "¿Qué es esto?" window, which it shows as a nameless filler. A
    // notification, as screen readers speak one whenever it appears: a tool
    // tip they speak only after F1, not after the context menu's entry. It
    // and the calendar's view are private classes of Qt, known by name only.
    if (className == "QWhatsThat"_L1)
        return new QAccessibleWidget(widget, QAccessible::Notification);
    if (className == "QCalendarView"_L1)
        return makeCalendarGrid(static_cast<QTableView*>(widget));
    if (const auto* frame = qobject_cast<QFrame*>(widget)) {
        if (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine)
            return new QAccessibleWidget(widget, QAccessible::Separator);
    }
    return nullptr;
}

void passOnToScreenReaders(QAccessibleEvent* event);

// News from a control that is not on the screen: Qt 6.4 moves the current
// entry, the selection and the month of a list's closed entries, or of the
// calendar after it closed, as the chosen entry or the date changes, and
// claims the focus for that entry. Screen readers would read the hidden
// entries, and a flood of such news makes Orca drop what it should say (it
// prunes its queue). That a control appears or goes stays news.
bool isFromHiddenControl(const QAccessibleEvent* event)
{
    switch (event->type()) {
    case QAccessible::ObjectCreated:
    case QAccessible::ObjectDestroyed:
    case QAccessible::ObjectShow:
    case QAccessible::ObjectHide:
    case QAccessible::ObjectReorder:
    case QAccessible::ParentChanged:
        return false;
    default:
        break;
    }
    const auto* widget = qobject_cast<QWidget*>(event->object());
    return widget != nullptr && !widget->isVisible();
}

// The window behind an open popup (the calendar, a list's entries) claims to
// become active as the popup opens; screen readers would then leave the
// popup for the window.
bool isActivationBehindPopup(QAccessibleEvent* event)
{
    if (event->type() != QAccessible::StateChanged)
        return false;
    const auto* widget = qobject_cast<QWidget*>(event->object());
    const QWidget* popup = QApplication::activePopupWidget();
    return widget != nullptr && widget->isWindow() && popup != nullptr && popup != widget &&
           static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().active;
}

// A table that gains the focus gives it to its current cell: Qt names the
// table only, and screen readers then read a table with no date in it.
bool focusCurrentCell(const QAccessibleEvent* event)
{
    auto* view = qobject_cast<QTableView*>(event->object());
    if (event->type() != QAccessible::Focus || event->child() >= 0 || view == nullptr ||
        !view->currentIndex().isValid())
        return false;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface* cells = table ? table->tableInterface() : nullptr;
    QAccessibleInterface* cell =
        cells ? cells->cellAt(view->currentIndex().row(), view->currentIndex().column()) : nullptr;
    if (!cell)
        return false;
    QAccessibleEvent focus(view, QAccessible::Focus);
    focus.setChild(table->indexOfChild(cell));
    passOnToScreenReaders(&focus);
    return true;
}

// The object the last focus event was about, and one whose focus event was
// sent ahead of Qt's own (see tellFocusFirst).
QPointer<QObject> lastFocus;
QPointer<QObject> focusToldAhead;

// Qt tells of the cursor and selection of a text box that gains the focus
// before it tells that the box has the focus; Orca then takes the box for
// the focus without a word, and says nothing when the focus event follows
// (Shift+Tab into the empty result box was silent). The focus goes first.
void tellFocusFirst(const QAccessibleEvent* event)
{
    const QAccessible::Event type = event->type();
    if (type != QAccessible::TextCaretMoved && type != QAccessible::TextSelectionChanged)
        return;
    auto* widget = qobject_cast<QWidget*>(event->object());
    if (!widget || widget != QApplication::focusWidget() || widget == lastFocus)
        return;
    QAccessibleEvent focus(widget, QAccessible::Focus);
    passOnToScreenReaders(&focus);
    focusToldAhead = widget;
}

// Every accessibility event passes here on its way to the platform; what
// would mislead a screen reader stops here, the rest goes on as Qt would
// send it without this handler.
void passOnToScreenReaders(QAccessibleEvent* event)
{
    if (isFromHiddenControl(event) || isActivationBehindPopup(event) || focusCurrentCell(event))
        return;
    // A popup that closes gives the focus back without a focus event; Orca
    // follows it from the window's activation.
    if (event->type() == QAccessible::ObjectHide) {
        const auto* widget = qobject_cast<QWidget*>(event->object());
        if (widget != nullptr && widget->isWindow())
            lastFocus = QApplication::focusWidget();
    }
    tellFocusFirst(event);
    if (event->type() == QAccessible::Focus) {
        const bool toldAhead = !focusToldAhead.isNull() && focusToldAhead == event->object();
        focusToldAhead = nullptr;
        if (toldAhead && event->child() < 0)
            return;
        lastFocus = event->object();
    }
    // Qt has already applied a table's model change to its interface before
    // this handler; sending the event again would apply it twice, and the
    // AT-SPI bridge of Qt 6.4 makes nothing of it.
    if (event->type() == QAccessible::TableModelChanged)
        return;
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    // A list's new entry, as a new text (see NamedList).
    if (event->type() == QAccessible::ValueChanged) {
        if (const auto* list = qobject_cast<TypeAheadList*>(event->object())) {
            QAccessibleTextInsertEvent chosen(event->object(), 0, list->currentText());
            QAccessible::updateAccessibility(&chosen);
        }
    }
    QAccessible::installUpdateHandler(&passOnToScreenReaders);
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(&llaveInterface);
    installNativePixels();
#ifndef Q_OS_MACOS
    // macOS makes use of table model changes, which the handler cannot pass on.
    QAccessible::installUpdateHandler(&passOnToScreenReaders);
#endif
}

void showWhatsThis(const QPoint& pos, const QString& richText, const QString& spokenText,
                   QWidget* widget)
{
    QWhatsThis::showText(pos, richText, widget);
    QWidget* shown = QApplication::activePopupWidget();
    if (shown && shown->inherits("QWhatsThat"))
        shown->setAccessibleName(spokenText);
}
