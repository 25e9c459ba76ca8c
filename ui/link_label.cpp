#include "link_label.h"

#include "contrast.h"

#include <QEvent>
#include <QPalette>

#include <utility>

using namespace Qt::StringLiterals;

LinkLabel::LinkLabel(QString text, QString address, QWidget* parent)
    : QLabel(parent)
    , linkText(std::move(text))
    , target(std::move(address))
{
    setTextFormat(Qt::RichText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
    showLink();
}

QColor LinkLabel::linkColour() const
{
    constexpr double readable = 4.5;
    const QColor background = palette().color(QPalette::Active, backgroundRole());
    const QColor navy(0, 0, 128);
    if (contrastRatio(navy, background) >= readable)
        return navy;
    return readableColour(palette().color(QPalette::Active, QPalette::Link), {background},
                          readable);
}

void LinkLabel::follow()
{
    emit linkActivated(target);
}

void LinkLabel::changeEvent(QEvent* event)
{
    // The colour is set on the link itself, since a link without one takes
    // the palette's link colour whatever the background.
    if (event->type() == QEvent::PaletteChange)
        showLink();
    QLabel::changeEvent(event);
}

void LinkLabel::showLink()
{
    setText(u"<a href=\"%1\" style=\"color: %2\">%3</a>"_s.arg(
        target.toHtmlEscaped(), linkColour().name(), linkText.toHtmlEscaped()));
}
