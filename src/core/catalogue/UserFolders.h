// Where the programs look for the catalogue and keep "quvselect.ini" once installed system-wide.
// The program's own folder comes first, so a copied or built program works as it always did; the
// user's folders take over only where the program's folder cannot serve.
#pragma once

#include <string>

namespace quv {

// "QUV" in the user's data folder of "QUV Select" (~/.local/share/QUV Select/QUV/ by default),
// where a maker's catalogue update can be dropped without root. Ends with '/'; empty when the
// desktop names no such folder.
std::string UserCatalogueFolder();

// The user's configuration folder of "QUV Select" (~/.config/QUV Select/ by default). Ends with
// '/'; empty when the desktop names no such folder.
std::string UserConfigFolder();

// True when `folder` holds at least one "*.quv" data file.
bool HasDataFiles(const std::string& folder);

// The catalogue folder to load: `beside` (the "QUV" folder beside the program) unless it holds no
// data file and `user` does. The result ends with '/'.
std::string ChooseCatalogueFolder(const std::string& beside, const std::string& user);

// The folder of "quvselect.ini": `programFolder` while the user may write there, otherwise
// `userConfig`, created when missing so the first remembered export folder can be stored. A
// folder under /usr counts as read-only even for root: packages own it and removing the package
// must leave nothing behind. The result ends with '/'.
std::string ChooseSettingsFolder(const std::string& programFolder, const std::string& userConfig);

} // namespace quv
