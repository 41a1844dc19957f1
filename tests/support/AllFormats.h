// Every format's writer and descriptor, for the tests that walk all of them, and the export
// list's order as an enum so that a test can name a row.
#pragma once

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
#include "reference/PatternFormat.h"

namespace quv::test {

enum class TRow {
    Planet,
    Wizard,
    Granet,
    Ce4,
    Pdf,
    NetPlan,
    CelPlan,
    Tornado,
    CellCad,
    Edx,
    QeDesign,
    Cdma,
    Nsma,
    TiaEia,
    PathPro,
    Odyssey,
    Siemens,
    Nokia
};

inline const TFileFormat* FormatAt(TRow row)
{
    return FileFormats()[static_cast<std::size_t>(row)];
}

} // namespace quv::test
