#include "accessibility.h"

#include "frm_curp.h"
#include "type_ahead_list.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

using namespace Qt::StringLiterals;

namespace {

// A list whose name is its own (its accessible name, or else its label's
// text) and whose value is the chosen entry. Its one child is the view of
// its entries, which keeps the chosen entry selected.
class NamedList final : public QAccessibleWidget
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
            return name.isEmpty() ? list()->currentText() : name;
        }
        case QAccessible::Value:
            return list()->currentText();
        default:
            return QAccessibleWidget::text(kind);
        }
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

private:
    QComboBox* list() const
    {
        return static_cast<QComboBox*>(widget());
    }
};

QAccessibleInterface* llaveInterface(const QString& className, QObject* object)
{
    if (className == "frm_CURP"_L1)
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == "TypeAheadList"_L1)
        return new NamedList(static_cast<QComboBox*>(object));
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(&llaveInterface);
}
