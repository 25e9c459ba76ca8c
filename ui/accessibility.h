// What screen readers are told about the window beyond what Qt tells them.
#ifndef LLAVE_ACCESSIBILITY_H
#define LLAVE_ACCESSIBILITY_H

#include <QString>

class QPoint;
class QWidget;

// Installs Llave's accessibility interfaces; call once, before the window is
// made. The window shows as a window named by its caption (Qt shows a
// top-level plain widget as a panel), with one separator line where it draws
// two; the lists keep their names ("Sexo", "Entidad de nacimiento") whatever
// entry is chosen (Qt on Linux names a list by its current entry); the link
// is a link that can be followed; the date box is a spin button whose text
// is the date, as desktop date pickers are; the calendar's days say their
// dates; and the announcer is a notification. Controls that are not on the
// screen tell screen readers nothing: Qt 6.4 would move their focus to the
// current entry of a closed list, or of the date box's calendar after it
// closed, whenever it changes.
void installAccessibility();

// Shows `richText` in a "¿Qué es esto?" window at `pos`, as
// QWhatsThis::showText does, and gives the window `spokenText` as its name,
// so that screen readers have something to say when it opens.
void showWhatsThis(const QPoint& pos, const QString& richText, const QString& spokenText,
                   QWidget* widget);

#endif // LLAVE_ACCESSIBILITY_H
