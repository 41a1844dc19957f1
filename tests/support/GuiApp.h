// One QGuiApplication for the drawing tests of this process, made on first use: text and images
// need a GUI application, the drawing layer no widgets.
#pragma once

namespace quv::test {

void EnsureGuiApp();

} // namespace quv::test
