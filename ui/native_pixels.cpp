#include "native_pixels.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace {

// Qt keeps a screen's top left corner where the display has it and scales
// everything from there.
QScreen* screenOf(const QWidget* widget)
{
    QScreen* screen = widget ? widget->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

QPoint toNative(QPoint point, const QScreen* screen)
{
    const QPoint origin = screen->geometry().topLeft();
    return origin + (point - origin) * screen->devicePixelRatio();
}

QPoint fromNative(QPoint point, const QScreen* screen)
{
    const QPoint origin = screen->geometry().topLeft();
    return origin + (point - origin) / screen->devicePixelRatio();
}

QRect toNative(const QRect& rect, const QScreen* screen)
{
    if (rect.isNull())
        return rect;
    return {toNative(rect.topLeft(), screen),
            toNative(rect.bottomRight() + QPoint(1, 1), screen) - QPoint(1, 1)};
}

// A widget's interface as Qt (or Llave) makes it, with its places in the
// display's pixels.
class NativePixels final : public QAccessibleInterface, public QAccessibleTextInterface
{
public:
    NativePixels(QWidget* widget, QAccessibleInterface* inner)
        : widget(widget)
        , inner(inner)
    {}
    ~NativePixels() override
    {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(inner));
    }
    Q_DISABLE_COPY_MOVE(NativePixels)

    bool isValid() const override
    {
        return !widget.isNull() && inner->isValid();
    }
    QObject* object() const override
    {
        return widget.data();
    }
    QWindow* window() const override
    {
        return inner->window();
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return inner->relations(match);
    }
    QAccessibleInterface* focusChild() const override
    {
        return inner->focusChild();
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        // Children that are widgets give their places in the display's
        // pixels, entries of lists and menus in Qt's.
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* candidate = child(i);
            if (candidate == nullptr || !candidate->isValid() || candidate->state().invisible)
                continue;
            const bool native = dynamic_cast<NativePixels*>(candidate) != nullptr;
            const QRect place = native ? candidate->rect() : toNative(candidate->rect(), screen());
            if (place.contains(x, y))
                return candidate;
        }
        return nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return inner->parent();
    }
    QAccessibleInterface* child(int index) const override
    {
        return inner->child(index);
    }
    int childCount() const override
    {
        return inner->childCount();
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return inner->indexOfChild(child);
    }
    QString text(QAccessible::Text kind) const override
    {
        return inner->text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override
    {
        inner->setText(kind, text);
    }
    QRect rect() const override
    {
        return toNative(inner->rect(), screen());
    }
    QAccessible::Role role() const override
    {
        return inner->role();
    }
    QAccessible::State state() const override
    {
        return inner->state();
    }
    QColor foregroundColor() const override
    {
        return inner->foregroundColor();
    }
    QColor backgroundColor() const override
    {
        return inner->backgroundColor();
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return innerText() ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
        return inner->interface_cast(type);
    }
    void virtual_hook(int id, void* data) override
    {
        inner->virtual_hook(id, data);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        innerText()->selection(selectionIndex, startOffset, endOffset);
    }
    int selectionCount() const override
    {
        return innerText()->selectionCount();
    }
    void addSelection(int startOffset, int endOffset) override
    {
        innerText()->addSelection(startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override
    {
        innerText()->removeSelection(selectionIndex);
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        innerText()->setSelection(selectionIndex, startOffset, endOffset);
    }
    int cursorPosition() const override
    {
        return innerText()->cursorPosition();
    }
    void setCursorPosition(int position) override
    {
        innerText()->setCursorPosition(position);
    }
    QString text(int startOffset, int endOffset) const override
    {
        return innerText()->text(startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override
    {
        return innerText()->textBeforeOffset(offset, boundaryType, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override
    {
        return innerText()->textAfterOffset(offset, boundaryType, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override
    {
        return innerText()->textAtOffset(offset, boundaryType, startOffset, endOffset);
    }
    int characterCount() const override
    {
        return innerText()->characterCount();
    }
    QRect characterRect(int offset) const override
    {
        return toNative(innerText()->characterRect(offset), screen());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return innerText()->offsetAtPoint(fromNative(point, screen()));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        innerText()->scrollToSubstring(startIndex, endIndex);
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        QString found = innerText()->attributes(offset, startOffset, endOffset);
        // Qt's line edits answer every offset with an empty run of no
        // attributes; Orca joins the runs into the text it reads, and read
        // the key on the way into its box without its last character. Text
        // without attributes is one run, all of it.
        if (found.isEmpty() && *startOffset == *endOffset && offset >= 0 &&
            offset < characterCount()) {
            *startOffset = 0;
            *endOffset = characterCount();
        }
        return found;
    }

private:
    QAccessibleTextInterface* innerText() const
    {
        return inner->textInterface();
    }
    QScreen* screen() const
    {
        return screenOf(widget);
    }

    QPointer<QWidget> widget;
    QAccessibleInterface* inner;
};

bool makingInner = false;

// Wraps the interface the other factories make for a widget. Qt keeps that
// interface in its cache too, under the widget, until the wrapper (which
// then takes the widget's place in the cache) goes with the widget.
bool someScreenScaled()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [](const QScreen* screen) { return screen->devicePixelRatio() != 1; });
}

QAccessibleInterface* nativePixelsInterface(const QString& /*className*/, QObject* object)
{
    static const bool scaled = someScreenScaled();
    auto* widget = qobject_cast<QWidget*>(object);
    // Unscaled, only line edits, for their runs of attributes.
    if (makingInner || !widget || (!scaled && !qobject_cast<QLineEdit*>(widget)))
        return nullptr;
    makingInner = true;
    QAccessibleInterface* inner = QAccessible::queryAccessibleInterface(widget);
    makingInner = false;
    return inner ? new NativePixels(widget, inner) : nullptr;
}

} // namespace

void installNativePixels()
{
    QAccessible::installFactory(&nativePixelsInterface);
}
