// Planet, ".pln": keyword header and both cuts as positive attenuation, 730 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildPlanet(const std::string& path, const TQuvFile& record);
void ExportPlanet(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kPlanetFormat;

} // namespace quv
