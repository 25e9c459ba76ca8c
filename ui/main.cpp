#include "accessibility.h"
#include "frm_curp.h"
#include "qt_translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(LLAVE_APP_ID));
    useSpanishLocale();
    installQtTranslations(app);
    installAccessibility();
    // The window's font from the start: widgets lay out text as they are made,
    // and would otherwise load the desktop's default font for nothing.
    QApplication::setFont(frm_CURP::formFont());
    frm_CURP window;
    window.show();
    return app.exec();
}
