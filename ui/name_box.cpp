#include "name_box.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <limits>
#include <memory>
#include <utility>

namespace {

// The text an event is about to put into the box, and the same event
// carrying another text instead.
QString typedText(const QKeyEvent& key)
{
    return key.text();
}

QString typedText(const QInputMethodEvent& input)
{
    return input.commitString();
}

std::unique_ptr<QKeyEvent> withTypedText(const QKeyEvent& key, const QString& text)
{
    return std::make_unique<QKeyEvent>(key.type(), key.key(), key.modifiers(), key.nativeScanCode(),
                                       key.nativeVirtualKey(), key.nativeModifiers(), text,
                                       key.isAutoRepeat(), key.count(), key.device());
}

std::unique_ptr<QInputMethodEvent> withTypedText(const QInputMethodEvent& input,
                                                 const QString& text)
{
    auto changed = std::make_unique<QInputMethodEvent>(input.preeditString(), input.attributes());
    changed->setCommitString(text, input.replacementStart(), input.replacementLength());
    return changed;
}

// Typed and composed text go the same way: the handler sees the text, and the
// box takes the event as it came or, when the handler changed the text, the
// same event carrying the new text.
template <typename Event, typename Take>
void takeTyped(Event* event, const NameBox::KeyPress& keyPress, Take take)
{
    QString typed = typedText(*event);
    if (!typed.isEmpty() && keyPress)
        keyPress(typed);
    if (typed == typedText(*event)) {
        take(event);
        return;
    }
    const auto changed = withTypedText(*event, typed);
    take(changed.get());
    event->setAccepted(changed->isAccepted());
}

} // namespace

NameBox::NameBox(QWidget* parent)
    : QLineEdit(parent)
{
    // A name box keeps all that is typed or pasted: cutting a paste silently
    // would compute the key of a text the user never gave.
    setMaxLength(std::numeric_limits<int>::max());
}

void NameBox::setKeyPress(KeyPress handler)
{
    keyPress = std::move(handler);
}

void NameBox::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        focusedByPress = reason == Qt::MouseFocusReason;
        emit gotFocus();
    }
    QLineEdit::focusInEvent(event);
}

void NameBox::mouseReleaseEvent(QMouseEvent* event)
{
    // Before the box's own handling, which hands a selection to the desktop's
    // primary selection.
    if (std::exchange(focusedByPress, false) && !hasSelectedText())
        emit gotFocus();
    QLineEdit::mouseReleaseEvent(event);
}

void NameBox::keyPressEvent(QKeyEvent* event)
{
    takeTyped(event, keyPress, [this](QKeyEvent* key) { QLineEdit::keyPressEvent(key); });
}

void NameBox::inputMethodEvent(QInputMethodEvent* event)
{
    takeTyped(event, keyPress,
              [this](QInputMethodEvent* input) { QLineEdit::inputMethodEvent(input); });
}
