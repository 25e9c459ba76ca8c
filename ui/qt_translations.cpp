#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

std::optional<QLocale>& desktopLocale()
{
    static std::optional<QLocale> locale;
    return locale;
}

} // namespace

QLocale useSpanishLocale()
{
    const QLocale desktop;
    desktopLocale() = desktop;
    if (desktop.language() != QLocale::Spanish)
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Mexico));
    return desktop;
}

QLocale dateOrderLocale()
{
    return desktopLocale().value_or(QLocale());
}

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
