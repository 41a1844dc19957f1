#include "export/formats/nsma/TiaEia.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "export/formats/nsma/NsmaLayout.h"
#include "reference/PatternConventions.h"

namespace quv {

namespace {

int Detect(const TFormatProbe& probe)
{
    const TNsmaSigns signs = NsmaSigns(probe);
    if (signs.Base() == 0)
        return 0;
    return signs.Base() + (signs.tiaRevision ? 20 : 0) +
           (probe.ExtensionIn(".dap .txt") ? kExtensionScore : 0);
}

} // namespace

std::string BuildTiaEia(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(771 * 21 + 1024);
    text.Line("REVNUM,TIA/EIA IS-2330-0");
    text.Line("REVDAT,20000720");
    text.Line("COMNT1,");
    text.Line("COMNT2,");
    text.Line("ANTMAN,Tavrin Corporation");
    text.Line("MODNUM," + record.PartNumber);
    text.Line("PATNUM," + record.PatternFileName);
    text.Line("DESCR1," + nsma::Description(record));
    text.Line("DESCR2,");
    text.Line("DESCR3,");
    text.Line("DESCR4,");
    text.Line("DESCR5,");
    text.Line("DTDATA,");
    text.Line("LOWFRQ," + record.BeginSubFrequency);
    text.Line("HGHFRQ," + record.EndSubFrequency);
    text.Line("GUNITS,DBI/DBR");
    text.Line("LWGAIN,");
    text.Line("MDGAIN," + nsma::Gain(record));
    text.Line("HGGAIN,");
    text.Line("FEDORN,");
    text.Line("AZWIDT," + nsma::AzimuthWidth(record));
    text.Line("ELWIDT," + nsma::ElevationWidth(record));
    text.Line("CONTYP," + record.ConnectorType);
    text.Line("ATVSWR," + VswrRatio(record, "%5.2f"));
    text.Line("FRTOBA," + nsma::FrontToBack(record));
    text.Line("ELTILT," + nsma::Tilt(record));
    text.Line("RADCTR,");
    text.Line("POTOPO,");
    text.Line("MAXPOW," + record.MaxInputPower);
    text.Line("ANTLEN," + nsma::LengthMetres(record));
    text.Line("ANTWID,");
    text.Line("ANTDEP,");
    text.Line("ANTWGT," + nsma::Weight(record));
    text.Line("FIELD1,");
    text.Line("FIELD2,");
    text.Line("FIELD3,");
    text.Line("FIELD4,");
    text.Line("FIELD5,");
    text.Line("PATTYP,typical");
    text.Line("NOFREQ,1");
    text.Line("PATFRE," + record.MeasuredFrequency);
    text.Line("NUMCUT,2");
    const std::string polarisation = "POLARI," + std::string(nsma::Polarisation(record));
    std::string line;
    for (int cut = 0; cut < 2; ++cut) {
        text.Line(cut == 0 ? "PATCUT,AZ" : "PATCUT,EL");
        text.Line(polarisation);
        text.Line("NUPOIN,360");
        text.Line("FSTLST,0,+359");
        for (int a = 0; a < 360; ++a) {
            const std::string_view level =
                cut == 0 ? conventions::AzimuthLevel(record, kNsmaAngles[0], a)
                         : conventions::ElevationLevel(record, kNsmaAngles[1], a);
            line.assign("PCDATA,");
            AppendInt(line, a);
            line += ".00,";
            AppendSignedLevel52(line, level);
            line += ',';
            text.Line(line);
        }
    }
    text.Line("ENDFIL,EOF");
    return text.Take();
}

void ExportTiaEia(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".dap"), BuildTiaEia(path, record)}});
}

const TFileFormat kTiaEiaFormat{{"<b>TIA/EIA</b> format", "TIA/EIA", ".dap", &ExportTiaEia},
                                ".dap .txt",
                                "nsma",
                                &Detect,
                                &ReadNsmaLayout,
                                kNsmaAngles,
                                TLevelConvention::RelativeLevel};

} // namespace quv
