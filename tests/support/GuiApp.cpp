#include "support/GuiApp.h"

#include <QGuiApplication>

namespace quv::test {

void EnsureGuiApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quvdraw_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down from static destructors is not safe.
    new QGuiApplication(argc, argv);
}

} // namespace quv::test
