// The about box and the maker's notices shown by the about box, the splash and the status bar.
#pragma once

#include <QDialog>

namespace quv {

// "Copyright © <year> Tavrin Corporation  www.tavrin.example"
QString CopyrightText();

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);
};

// The program's picture for the about box, the splash and the window icon (drawn, no file).
QPixmap ProgramPicture(int size);

} // namespace quv
