// The yardstick for start-up: the smallest Qt Widgets program that opens a
// window, built with the same compiler, flags and Qt as llave.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    return app.exec();
}
