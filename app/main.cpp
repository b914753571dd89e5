#include <QApplication>
#include <QMainWindow>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Tessaly"_s);
    QMainWindow window;
    window.setWindowTitle(u"Tessaly"_s);
    window.resize(960, 680);
    window.show();
    return app.exec();
}
