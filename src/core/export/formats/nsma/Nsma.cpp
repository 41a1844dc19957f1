#include "export/formats/nsma/Nsma.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "export/formats/nsma/NsmaLayout.h"
#include "reference/PatternConventions.h"

#include <cmath>

namespace quv {

namespace nsma {

std::string Description(const TQuvFile& record)
{
    return record.Description.substr(0, 80);
}

std::string Gain(const TQuvFile& record)
{
    return FormatFixed(StrToFloat(record.GainDBi), 4, 1);
}

std::string AzimuthWidth(const TQuvFile& record)
{
    return FormatFixed(StrToFloat(record.AzimuthBeamwidth), 5, 1);
}

std::string ElevationWidth(const TQuvFile& record)
{
    return FormatFixed(StrToFloat(record.ElevationBeamwidth), 4, 1);
}

std::string FrontToBack(const TQuvFile& record)
{
    return Format("%.2f", {std::fabs(record.FrontToBackValue())});
}

std::string Tilt(const TQuvFile& record)
{
    double tilt = 0;
    if (!TryStrToFloat(record.ElectricalDowntilt, tilt))
        return {};
    return FormatFixed(tilt, 4, 1);
}

std::string LengthMetres(const TQuvFile& record)
{
    return FormatFixed(record.LengthValue() * 0.001, 6, 2);
}

std::string Weight(const TQuvFile& record)
{
    const std::string& text = record.AntennaWeight;
    if (text.empty())
        return {};
    // Kilograms stand before the first blank; a value without one has no number to take.
    const auto blank = text.find(' ');
    const std::string_view kg =
        blank == std::string::npos ? std::string_view() : std::string_view(text).substr(0, blank);
    return FormatFixed(StrToFloat(kg), 8, 1);
}

std::string_view Polarisation(const TQuvFile& record)
{
    return record.PolarizationType == "Slant" ? "SLR/SLR" : "V/V";
}

} // namespace nsma

namespace {

int Detect(const TFormatProbe& probe)
{
    const TNsmaSigns signs = NsmaSigns(probe);
    if (signs.Base() == 0)
        return 0;
    return signs.Base() + (signs.tiaRevision ? 0 : 20) +
           (probe.ExtensionIn(".dap .adf .nsm") ? kExtensionScore : 0);
}

} // namespace

std::string BuildNsma(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(772 * 14 + 1024);
    text.Line("REVNUM:,NSMA WG16.99.050");
    text.Line("REVDAT:,19990520");
    text.Line("COMNT1:,");
    text.Line("COMNT2:,");
    text.Line("ANTMAN:,Tavrin Corporation");
    text.Line("MODNUM:," + record.PartNumber);
    text.Line("PATNUM:," + record.PatternFileName);
    text.Line("FILNUM:,01/01");
    text.Line("FEDORN:,");
    text.Line("DESCR1:," + nsma::Description(record));
    text.Line("DESCR2:,");
    text.Line("DESCR3:,");
    text.Line("DESCR4:,");
    text.Line("DESCR5:,");
    text.Line("DTDATA:,");
    text.Line("LOWFRQ:," + record.BeginSubFrequency);
    text.Line("HGHFRQ:," + record.EndSubFrequency);
    text.Line("GUNITS:,DBI/DBR");
    text.Line("LWGAIN:,");
    text.Line("MDGAIN:," + nsma::Gain(record));
    text.Line("HGGAIN:,");
    text.Line("AZWIDT:," + nsma::AzimuthWidth(record));
    text.Line("ELWIDT:," + nsma::ElevationWidth(record));
    text.Line("CONTYP:," + record.ConnectorType);
    text.Line("ATVSWR:," + VswrRatio(record, "%5.2f"));
    text.Line("FRTOBA:," + nsma::FrontToBack(record));
    text.Line("ELTILT:," + nsma::Tilt(record));
    text.Line("RADCTR:,");
    text.Line("POTOPO:,");
    text.Line("MAXPOW:," + record.MaxInputPower);
    text.Line("ANTLEN:," + nsma::LengthMetres(record));
    text.Line("ANTWID:,");
    text.Line("ANTDEP:,");
    text.Line("ANTWGT:," + nsma::Weight(record));
    text.Line("FIELD1:,");
    text.Line("FIELD2:,");
    text.Line("FIELD3:,");
    text.Line("FIELD4:,");
    text.Line("FIELD5:,");
    text.Line("PATTYP:,typical");
    text.Line("NOFREQ:,1");
    text.Line("PATFRE:," + record.MeasuredFrequency);
    text.Line("NUMCUT:,2");
    const std::string polarisation = "POLARI:," + std::string(nsma::Polarisation(record));
    std::string line;
    for (int cut = 0; cut < 2; ++cut) {
        text.Line(cut == 0 ? "PATCUT:,AZ" : "PATCUT:,EL");
        text.Line(polarisation);
        text.Line("NUPOIN:,360");
        text.Line("FSTLST:,0,+359");
        for (int a = 0; a < 360; ++a) {
            const std::string_view level =
                cut == 0 ? conventions::AzimuthLevel(record, kNsmaAngles[0], a)
                         : conventions::ElevationLevel(record, kNsmaAngles[1], a);
            line.clear();
            AppendInt(line, a);
            line += ".00,";
            AppendSignedLevel52(line, level);
            line += ',';
            text.Line(line);
        }
    }
    text.Line("ENDFIL:,EOF");
    return text.Take();
}

void ExportNsma(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".dap"), BuildNsma(path, record)}});
}

const TFileFormat kNsmaFormat{{"<b>NSMA</b> format", "NSMA", ".dap", &ExportNsma},
                              ".dap .adf .nsm .txt",
                              "nsma",
                              &Detect,
                              &ReadNsmaLayout,
                              kNsmaAngles,
                              TLevelConvention::RelativeLevel};

} // namespace quv
