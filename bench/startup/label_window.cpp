// A second yardstick: the smallest Qt Widgets window that shows text, so that
// it pays for loading a font as every real window does.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hola"));
    window.show();
    return app.exec();
}
