// QUV Select: loads the "QUV" catalogue beside the program behind a splash window, then lets the
// planner filter it, read specifications, plot, export and print antennas.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUV Select"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("QUV Select"));
    window.resize(691, 550);
    window.show();
    return QApplication::exec();
}
