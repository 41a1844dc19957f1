// The one list of the formats: their order is the export list's, and everything that walks the
// formats (the export table, detection, reading, the command line's names, the dialogs' filters)
// walks this list. A new format is its own file and one line here.
#include "export/formats/Ce4.h"
#include "export/formats/CelPlan.h"
#include "export/formats/CellCad.h"
#include "export/formats/Edx.h"
#include "export/formats/Granet.h"
#include "export/formats/NetPlan.h"
#include "export/formats/Nokia.h"
#include "export/formats/Odyssey.h"
#include "export/formats/PathPro.h"
#include "export/formats/Planet.h"
#include "export/formats/QeDesign.h"
#include "export/formats/Siemens.h"
#include "export/formats/Tornado.h"
#include "export/formats/Wizard.h"
#include "export/formats/nsma/Nsma.h"
#include "export/formats/nsma/TiaEia.h"

#include <iterator>

namespace quv {

namespace {

constexpr const TFileFormat* kFormats[] = {
    &kPlanetFormat,   &kWizardFormat,  &kGranetFormat,  &kCe4Format,     &kPdfFormat,
    &kNetPlanFormat,  &kCelPlanFormat, &kTornadoFormat, &kCellCadFormat, &kEdxFormat,
    &kQeDesignFormat, &kCdmaFormat,    &kNsmaFormat,    &kTiaEiaFormat,  &kPathProFormat,
    &kOdysseyFormat,  &kSiemensFormat, &kNokiaFormat,
};
static_assert(std::size(kFormats) == kExportFormatCount);

} // namespace

const std::vector<const TFileFormat*>& FileFormats()
{
    static const std::vector<const TFileFormat*> formats(std::begin(kFormats), std::end(kFormats));
    return formats;
}

const std::vector<TExportFormat>& ExportFormats()
{
    static const std::vector<TExportFormat> formats = [] {
        std::vector<TExportFormat> list;
        for (const TFileFormat* format : FileFormats())
            list.push_back(format->exportAs);
        return list;
    }();
    return formats;
}

} // namespace quv
