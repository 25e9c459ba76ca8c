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

#endif // LLAVE_KEY_TEXT_H
