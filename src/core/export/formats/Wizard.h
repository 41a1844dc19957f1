// WIZARD, ".apf": "|KEY|value|" header, the azimuth every 5 degrees over the gain at the horizon
// and the front and back elevation halves in dBd, 454 lines. Dated: "today" is an argument, so
// building stays pure.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildWizard(const std::string& path, const TQuvFile& record, const TExportDate& today);
void ExportWizard(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kWizardFormat;

} // namespace quv
