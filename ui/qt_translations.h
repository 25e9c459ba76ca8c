// Qt's own texts (context menus, the calendar) in the desktop's language.
#ifndef LLAVE_QT_TRANSLATIONS_H
#define LLAVE_QT_TRANSLATIONS_H

class QCoreApplication;

// Loads Qt's translation for the default locale from Qt's translations
// folder and installs it in `app`. Returns false when there is none (English,
// or the translations are not installed); Qt's texts then stay English.
bool installQtTranslations(QCoreApplication& app);

#endif // LLAVE_QT_TRANSLATIONS_H
