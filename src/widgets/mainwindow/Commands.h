// Connects the main window's command requests to the windows and commands that carry them out:
// the pattern window, both export commands, the print command, the two catalogue summary files,
// and the pattern window's plot type and print items.
#pragma once

#include <string>

namespace quv {

class TfrmMain;
class TfrmPattern;

void ConnectCommands(TfrmMain& main, TfrmPattern& pattern, const std::string& programFolder);

} // namespace quv
