#include "support/TestApp.h"

#include <QApplication>

namespace quv::test {

void EnsureQtApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quvwidgets_tests";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends; widgets of every test share it.
    static QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUV Select"));
}

} // namespace quv::test
