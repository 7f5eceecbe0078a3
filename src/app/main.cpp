// Entry point of the desktop program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Foc aris  ver.1.0029"));
    window.resize(1000, 120);
    window.show();
    return app.exec();
}
