// A drop-down list without typing into it, where the first letters typed
// pick an entry by its name: "f" picks "1:Femenino", "nuevo leon" picks
// "NL: NUEVO LEON". What the letters point to is a search the list is given;
// the open list uses the same search, and Enter there picks the entry.
#ifndef LLAVE_TYPE_AHEAD_LIST_H
#define LLAVE_TYPE_AHEAD_LIST_H

#include <QComboBox>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

class QFocusEvent;
class QInputMethodEvent;
class QKeyEvent;

class TypeAheadList final : public QComboBox
{
    Q_OBJECT

public:
    // The index of the entry that the text typed so far points to, or -1.
    using Search = std::function<int(const QString& typed)>;

    explicit TypeAheadList(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TypeAheadList)

    // Replaces the list's search; by default it is searchEntries over the
    // list's own entries.
    void setSearch(Search search);

    // The first entry whose text, or whose name after its ':', starts with
    // `typed`, without regard to case or accents ("1" and "fem" both give
    // "1:Femenino"); -1 when none does.
    static int searchEntries(const QStringList& entries, QStringView typed);

    // Opens the list; letters typed there start a new name.
    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool typesName(const QKeyEvent* event) const;
    void typeAhead(const QString& text);
    bool typingName() const;
    QStringList entryTexts() const;

    Search search;
    // What has been typed since the last pause longer than
    // QApplication::keyboardInputInterval(); a pause starts a new name.
    QString typed;
    QElapsedTimer sinceLastKey;
};

#endif // LLAVE_TYPE_AHEAD_LIST_H
