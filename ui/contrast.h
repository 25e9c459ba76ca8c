// Colours that stay readable on the background they are drawn on, whatever
// the desktop's palette: light, dark or of high contrast.
#ifndef LLAVE_CONTRAST_H
#define LLAVE_CONTRAST_H

#include <QColor>

#include <initializer_list>

class QCalendarWidget;

// The contrast ratio of two colours as the Web Content Accessibility
// Guidelines define it, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// `colour` itself when it reaches `ratio` against every one of
// `backgrounds`, else the nearest colour of its hue, lighter or darker, that
// does; black or white when none does.
QColor readableColour(const QColor& colour, std::initializer_list<QColor> backgrounds,
                      double ratio);

// The calendar draws the weekend's days and day names in red, which on a
// dark palette can be as dark as the background: makes that red readable,
// at 3:1 or more, on the backgrounds of the days and of their names.
void makeWeekendsReadable(QCalendarWidget* calendar);

#endif // LLAVE_CONTRAST_H
