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
    // Never destroyed: tearing an application down during static destruction, after the
    // platform plugin has gone, crashes once key events have been delivered.
    new QApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUV Select"));
}

} // namespace quv::test
