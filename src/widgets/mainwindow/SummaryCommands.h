// The two hidden File commands that write a summary of the whole catalogue ("quv.dat" and
// "antenna.dat" layouts) to a file chosen in the save dialog.
#pragma once

#include "export/Summary.h"

#include <QString>

class QWidget;

namespace quv {

class IPrompt;

// Asks for the file (proposing `lastName`, the name accepted last in this run, and updating
// it), builds the layout from `catalogue` and commits it whole; a failure is shown in a message
// box and leaves any existing file untouched. Cancelling writes nothing.
void CreateSummary(QWidget* owner, IPrompt& prompt, const TQuvFileList& catalogue,
                   TSummaryLayout layout, QString& lastName);

} // namespace quv
