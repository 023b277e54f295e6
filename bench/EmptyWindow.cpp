// The yardstick of start-up: a Qt Widgets program that shows an empty window
// of the main window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(993, 670);
    w.show();
    return app.exec();
}
