#include "type_ahead_list.h"

#include <curp/states.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <string>
#include <utility>

namespace {

// Upper case without accents, as curp::FoldForSearch compares names.
std::string folded(QStringView text)
{
    return curp::FoldForSearch(text.toUtf8().toStdString());
}

} // namespace

TypeAheadList::TypeAheadList(QWidget* parent)
    : QComboBox(parent)
{
    // The open list searches as the closed one does: Qt's own search there
    // only compares the start of the entries' texts.
    view()->installEventFilter(this);
}

void TypeAheadList::setSearch(Search search)
{
    this->search = std::move(search);
}

int TypeAheadList::searchEntries(const QStringList& entries, QStringView typed)
{
    const std::string wanted = folded(typed);
    if (wanted.empty())
        return -1;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString& entry = entries[i];
        const qsizetype colon = entry.indexOf(u':');
        const QStringView name = colon < 0 ? QStringView() : QStringView(entry).sliced(colon + 1);
        if (folded(entry).starts_with(wanted) || folded(name.trimmed()).starts_with(wanted))
            return int(i);
    }
    return -1;
}

bool TypeAheadList::typesName(const QKeyEvent* event) const
{
    const QString text = event->text();
    const bool printable =
        !text.isEmpty() && text.front().isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    // A space opens the list, or picks in the open one, unless it stands
    // between the words of a name being typed ("nuevo leon").
    return printable && (text != u" " || typingName());
}

void TypeAheadList::keyPressEvent(QKeyEvent* event)
{
    if (!typesName(event)) {
        QComboBox::keyPressEvent(event);
        return;
    }
    typeAhead(event->text());
    event->accept();
}

void TypeAheadList::inputMethodEvent(QInputMethodEvent* event)
{
    // Letters composed with dead keys ("ó") arrive here, not as key presses.
    if (event->commitString().isEmpty()) {
        QComboBox::inputMethodEvent(event);
        return;
    }
    typeAhead(event->commitString());
    event->accept();
}

bool TypeAheadList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view()) {
        if (event->type() == QEvent::KeyPress && typesName(static_cast<QKeyEvent*>(event))) {
            typeAhead(static_cast<QKeyEvent*>(event)->text());
            return true;
        }
        if (event->type() == QEvent::InputMethod) {
            const QString composed = static_cast<QInputMethodEvent*>(event)->commitString();
            if (!composed.isEmpty()) {
                typeAhead(composed);
                return true;
            }
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TypeAheadList::showPopup()
{
    typed.clear(); // a new name in the open list
    QComboBox::showPopup();
}

void TypeAheadList::focusOutEvent(QFocusEvent* event)
{
    // Coming back to the list starts a new name.
    if (event->reason() != Qt::PopupFocusReason)
        typed.clear();
    QComboBox::focusOutEvent(event);
}

void TypeAheadList::typeAhead(const QString& text)
{
    if (!typingName())
        typed.clear();
    typed += text;
    sinceLastKey.start();

    const int index = search ? search(typed) : searchEntries(entryTexts(), typed);
    if (index < 0 || index >= count())
        return;
    if (view()->isVisible()) {
        // In the open list the letters point to the entry; Enter picks it.
        view()->setCurrentIndex(model()->index(index, modelColumn(), rootModelIndex()));
        return;
    }
    if (index == currentIndex())
        return;
    setCurrentIndex(index);
    emit activated(index);
    emit textActivated(itemText(index));
}

QStringList TypeAheadList::entryTexts() const
{
    QStringList texts;
    texts.reserve(count());
    for (int i = 0; i < count(); ++i)
        texts.append(itemText(i));
    return texts;
}

bool TypeAheadList::typingName() const
{
    return !typed.isEmpty() && sinceLastKey.isValid() &&
           sinceLastKey.elapsed() <= QApplication::keyboardInputInterval();
}
