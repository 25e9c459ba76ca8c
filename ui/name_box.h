// A box for one of a person's names: it keeps everything typed or pasted into
// it, tells its window when it gains the focus anew, and lets the window
// change each typed text before the box takes it.
#ifndef LLAVE_NAME_BOX_H
#define LLAVE_NAME_BOX_H

#include <QLineEdit>
#include <QString>

#include <functional>

class QFocusEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;

class NameBox final : public QLineEdit
{
    Q_OBJECT

public:
    // Changes the text a key press or a composition is about to put into the
    // box; the box takes what it leaves in `typed`.
    using KeyPress = std::function<void(QString& typed)>;

    explicit NameBox(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(NameBox)

    // Called with the text of every key press that carries one (Backspace and
    // other control keys included) and of every text composed with dead keys
    // or an input method. By default the box takes what is typed as it is.
    void setKeyPress(KeyPress handler);

signals:
    // The box gained the focus: by Tab, Shift+Tab, a click or from the
    // program. Coming back to the window from another one, or from a menu,
    // is no new focus. After a click that gave the focus it is emitted once
    // more as the button is released, since the press placed the cursor,
    // unless the user dragged out a selection of their own.
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    KeyPress keyPress;
    // The focus came with a mouse press, whose release is still to come.
    bool focusedByPress = false;
};

#endif // LLAVE_NAME_BOX_H
