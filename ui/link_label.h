// The web link: its text underlined, in the link colour, with a pointing
// hand; a click on it, or a screen reader's "jump", follows it.
#ifndef LLAVE_LINK_LABEL_H
#define LLAVE_LINK_LABEL_H

#include <QColor>
#include <QLabel>
#include <QString>

class QEvent;

class LinkLabel final : public QLabel
{
    Q_OBJECT

public:
    LinkLabel(QString text, QString address, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(LinkLabel)

    QString shownText() const
    {
        return linkText;
    }
    QString address() const
    {
        return target;
    }

    // Navy blue, as drawn for a light window; on a background where navy
    // would not reach 4.5:1 (a dark palette), the palette's link colour,
    // made lighter if it does not reach that either.
    QColor linkColour() const;

    // Follows the link as a click on it does: emits linkActivated.
    void follow();

protected:
    void changeEvent(QEvent* event) override;

private:
    void showLink();

    QString linkText;
    QString target;
};

#endif // LLAVE_LINK_LABEL_H
