// Texts passed between the window and the key computation.
#ifndef LLAVE_KEY_TEXT_H
#define LLAVE_KEY_TEXT_H

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// Upper case, one character (code point) at a time, so the text keeps its
// length: "ñ" gives "Ñ", "é" gives "É"; characters without a single upper-case
// form ("ß") and everything that is not a letter stay as they are.
QString upperCase(QStringView text);

// The text as code points. A lone surrogate is kept as its own value, so the
// key computation sees the text as it is and refuses it.
std::u32string toCodePoints(QStringView text);

// Code points as text, every one kept (a leading U+FEFF too).
QString fromCodePoints(std::u32string_view points);

// The key in the display mask "@@@@-@@@@@@-@-@@-@@@-@-@", as curp::WithDashes
// fills it: from the right, with spaces in the places left over.
QString applyKeyMask(std::u32string_view key);

// The text as it must be shown left to right, character after character,
// whatever it holds: with letters of a right-to-left script or marks that
// change the direction, its marks are left out and the rest is wrapped in a
// left-to-right override; any other text is left as it is.
QString leftToRight(const QString& text);

// A line of an explanation cut to a length a tooltip and a screen reader can
// bear: a name pasted 100 000 characters long shows its start and end.
QString shortened(const QString& line);

#endif // LLAVE_KEY_TEXT_H
