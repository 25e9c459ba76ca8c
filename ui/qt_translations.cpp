#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

bool installQtTranslations(QCoreApplication& app)
{
    // qtbase_es.qm for es_MX (after looking for qtbase_es_MX.qm), and so on.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(), u"qtbase"_s, u"_"_s,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
