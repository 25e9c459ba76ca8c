// Qt's own texts (context menus, the calendar) in the desktop's language.
#ifndef LLAVE_QT_TRANSLATIONS_H
#define LLAVE_QT_TRANSLATIONS_H

#include <QLocale>

class QCoreApplication;

// Makes Spanish (Mexico) the default locale unless the desktop's language is
// Spanish already: the window's own words are Spanish, and Qt's (the
// calendar's months and days, the context menus) must not mix another
// language in, as they would under C, C.UTF-8 or en_US. Returns the
// desktop's locale, whose order of day, month and year the date box keeps.
QLocale useSpanishLocale();

// The locale whose order of day, month and year the date box shows: the
// desktop's, once useSpanishLocale has been called; the default before.
QLocale dateOrderLocale();

// Loads Qt's translation for the default locale from Qt's translations
// folder and installs it in `app`. Returns false when there is none (English,
// or the translations are not installed); Qt's texts then stay English.
bool installQtTranslations(QCoreApplication& app);

#endif // LLAVE_QT_TRANSLATIONS_H
