// Shared pieces of the quvtool commands: argument reading and the catalogue folder.
#pragma once

#include <string>
#include <vector>

namespace quv {

class TQuvFile;

// The "QUV" folder beside the running quvtool executable.
std::string DefaultCatalogueFolder();

// Removes "--catalogue DIR" from args and returns DIR (the default folder when absent).
// Returns false with `error` set when the option has no value.
bool TakeCatalogueOption(std::vector<std::string>& args, std::string& folder, std::string& error);

// Removes "NAME VALUE" from args; false with `error` when the value is missing.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value,
                std::string& error);

// Loads the folder into the Catalogue; prints failures as "NAME: message" to stderr when
// `reportFailures` is set. Returns the number of failures.
int LoadCatalogueForTool(const std::string& folder, bool reportFailures);

// The first catalogue record with this part number, or none.
TQuvFile* FindPart(const std::string& part);

// Fonts and the printer need a GUI application even when nothing is shown; creates an offscreen
// one, once, when the process has none.
void EnsureGuiApplication();

int CheckCommand(const std::vector<std::string>& args);

} // namespace quv
