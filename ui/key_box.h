// The result box: the key in its display mask, read-only, with what the key
// is made of and what the person should know about it.
#ifndef LLAVE_KEY_BOX_H
#define LLAVE_KEY_BOX_H

#include <QColor>
#include <QLineEdit>
#include <QString>
#include <QStringList>

#include <string_view>

class QAction;
class QContextMenuEvent;
class QEvent;
class QKeyEvent;
class QMenu;

namespace curp {
struct KeyExplanation;
struct PersonAnswer;
} // namespace curp

// The colour of a warning on `background`: dark red on a light one, light red
// on a dark one, each well above 4.5:1 against it.
QColor warningColour(const QColor& background);

class KeyBox final : public QLineEdit
{
    Q_OBJECT

public:
    explicit KeyBox(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(KeyBox)

    // Shows `key` in the display mask and its explanation as the box's
    // tooltip, "¿Qué es esto?" text and accessible description, after the
    // window's own `warnings`. A key that cannot be the registry's, or comes
    // with warnings, is drawn in a warning colour and carries a warning sign
    // at its end, so the colour is never the only sign.
    void showKey(std::u32string_view key, const curp::KeyExplanation& explanation,
                 const QStringList& warnings = {});

    // Shows the library's answer to the window's request: the reason there
    // is no key (the date's, or the explanation's), or the key with its
    // explanation and every doubt about it, after the window's own
    // `warnings`.
    void showAnswer(const curp::PersonAnswer& answer, const QStringList& warnings = {});

    // The key without the mask's dashes and spaces, as last shown.
    QString bareKey() const
    {
        return shownKey;
    }
    // The library's doubts about the key shown, as its sentences; empty
    // when there are none, or the key was not shown by showAnswer.
    QStringList doubts() const
    {
        return answerDoubts;
    }
    // True when the key shown cannot be the registry's.
    bool doubtful() const
    {
        return isDoubtful;
    }

    // Marks what the box shows as belonging to other data, once the person's
    // data change after a computation: drawn grey, said so in its tooltip and
    // description, and not copied, until the next showKey.
    void markStale();
    bool stale() const
    {
        return isStale;
    }
    static QString staleText();

    // The reasons for no key or a doubtful one, shown at once in a tooltip
    // at the box after showKey; it stays (coming back after a move of the
    // focus) until the data change or hideReason.
    bool reasonInView() const
    {
        return showingReason;
    }
    void hideReason();

    // Puts the bare key on the clipboard; a stale key is refused.
    void copyBareKey();
    // Copies the selected text, as Ctrl+C does; a stale key is refused.
    void copySelected();
    // Shows the explanation in a "¿Qué es esto?" window below the box.
    void showExplanation();

    // The box's context menu: Qt's own entries, "Copiar clave sin guiones"
    // right after "Copiar", and "¿Qué es esto?". The caller owns it.
    QMenu* createContextMenu();

    // Texts of the menu entries this box adds.
    static QString copyBareText();
    static QString whatsThisText();

protected:
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Draws the key as doubtful or not; `why`, when given, is what the
    // warning sign says.
    void markDoubtful(const QString& why = {});
    // True, having emptied the clipboard and said why, when the key is stale.
    bool refusedStaleCopy();
    void showReasonTip();

    QString shownKey;
    QStringList answerDoubts;
    bool isDoubtful = false;
    bool computed = false;
    bool isStale = false;
    bool showingReason = false;
    QString reason; // as rich text

    bool settingPalette = false;
    QAction* warningSign = nullptr;
};

#endif // LLAVE_KEY_BOX_H
