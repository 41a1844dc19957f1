// The printed Site Fit page on US Letter: the site asked about, the ten best antennas with their
// figures, and the footprints of the four best at their recommended tilts. One page, one print
// job; the window's print command offers it while the Site Fit page holds a ranking.
#pragma once

#include "printing/Print.h"
#include "printing/PrintJob.h"
#include "reference/SiteFit.h"

namespace quv {

// Rows of the printed table and maps under it.
inline constexpr int kSiteFitPrintedRows = 10;
inline constexpr int kSiteFitPrintedMaps = 4;

void PrintSiteFitPage(const TSiteRanking& ranking, TPrint& writer);

// The page as one job titled "Site Fit"; a failure drops the job and is thrown on.
void PrintSiteFitJob(TPrintOutput& output, TPrint& writer, const TSiteRanking& ranking);

} // namespace quv
