// Where screen readers and magnifiers are told the window's controls are,
// in the display's own pixels.
#ifndef LLAVE_NATIVE_PIXELS_H
#define LLAVE_NATIVE_PIXELS_H

// Qt 6.4 tells the accessibility bus where each control is in its own
// scaled pixels, which differ from the display's when Qt scales the window
// (QT_SCALE_FACTOR, a screen's scale factor): at 1.5 the window is said to be
// at 168,107 and 347×298 where the display has it at 252,161 and 521×447, so
// magnifiers and Orca's flat review point at the wrong place. When some
// screen is scaled, installs interfaces that give every widget's place, and
// the places of the characters of its text, in the display's pixels; the
// entries of lists, menus and the calendar keep Qt's places. Line edits are
// wrapped at every scale: their text, which has no attributes, is one run
// of none (Qt gives each character an empty run, and Orca then drops the
// last character). Call once, after the other interface factories are
// installed.
void installNativePixels();

#endif // LLAVE_NATIVE_PIXELS_H
