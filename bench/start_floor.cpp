// The least a Qt Widgets program does before its first window is mapped:
// the floor against which the program's own start is measured.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(400, 300);
    window.show();
    return app.exec();
}
