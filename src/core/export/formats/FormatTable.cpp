// The format table lives with the writers it points to, so the engine in export/ never includes
// a writer: the writers depend on the engine's helpers, not the other way round.
#include "export/ExportLib.h"
#include "export/formats/Formats.h"

namespace quv {

const std::vector<TExportFormat>& ExportFormats()
{
    static const std::vector<TExportFormat> formats = {
        {"<b>Planet</b> format - Mobile Systems International", "Planet", ".pln", &ExportPlanet},
        {"<b>WIZARD</b> format - Agilent", "Wizard", ".apf", &ExportWizard},
        {"<b>GRANET</b> format - GTE Laboratories, Inc.", "Granet", ".pat", &ExportGranet},
        {"<b>CE4</b> format - Lucent RF Tools", "CE4", ".ce4", &ExportCe4},
        {"<b>PDF</b> format - Lucent RF Tools", "PDF", ".pdf", &ExportPdf},
        {"<b>NetPlan</b> format - Motorola ", "NetPlan", ".h .v", &ExportNetPlan},
        {"<b>CelPlan</b> format", "CelPlan", ".ant", &ExportCelPlan},
        {"<b>Tornado</b> format", "Tornado", ".txt", &ExportTornado},
        {"<b>CellCAD</b> format", "CellCad", ".hor .ver", &ExportCellCad},
        {"<b>EDX</b> format", "EDX", ".edx", &ExportEdx},
        {"<b>QEDesign</b> format", "QEDesign", ".txt", &ExportQeDesign},
        {"<b>CDMA</b> format", "CDMA", ".txt", &ExportCdma},
        {"<b>NSMA</b> format", "NSMA", ".dap", &ExportNsma},
        {"<b>TIA/EIA</b> format", "TIA/EIA", ".dap", &ExportTiaEia},
        {"<b>PathPro</b> format", "PathPro", ".ant", &ExportPathPro},
        {"<b>Odyssey</b> format", "Odyssey", ".txt", &ExportOdyssey},
        {"<b>Siemens</b> format", "Siemens", ".dat", &ExportSiemens},
        {"<b>Nokia</b> format", "Nokia", ".msi", &ExportNokia},
    };
    return formats;
}

} // namespace quv
