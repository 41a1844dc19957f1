// One QApplication for the widget tests of this process, made on first use. Tests that need
// widgets call EnsureQtApp() in SetUp instead of making their own application object.
#pragma once

namespace quv::test {

void EnsureQtApp();

} // namespace quv::test
