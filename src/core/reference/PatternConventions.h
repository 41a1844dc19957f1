// Where each format puts its angles and what its levels mean, written down once. Every reader maps
// a file angle x to the record angle a of TQuvFile::AzimuthAt(a) / ElevationAt(a) through these
// functions, and nowhere else. ElevationAt(a) is the level a degrees BELOW the front horizon, so
// "elevation above the horizon" files negate their angle.
//
// format                 azimuth x -> a          elevation x -> a                   levels
// Planet, Tornado,       a = x                   a = x (below the horizon)          attenuation
//  Siemens, Nokia (MSI)                                                                (magnitude)
// WIZARD, CE4, PDF       a = x (5-degree steps)  front half: a = x                  gain + level
//                                                back half (|VERT|180|): a = 180 - x
// GRANET                 a = -x                  a = 270 - x                        dBd gain+level
// NetPlan ".h"/".v"      a = -k (stored list)    a = k + 180                        level, signed
// CelPlan                a = x                   a = x                              dBd gain+level
// CellCAD ".hor"/".ver"  a = x                   a = -x (above the horizon)         dBi gain+level
// EDX                    a = x                   slice 0: a = -x; slice 180: 180 + x  dB or field
//  (slices count up from their horizon; the program's own back slice is labelled 181)
// QEDesign, CDMA         a = x                   a = -x (above the horizon)         level, signed
// NSMA, TIA/EIA          a = x                   a = x                              level, signed
// PathPro                a = x                   a = -x (stored list)               level, signed
// Odyssey                a = -i (stored list)    a = i                              attenuation
#pragma once

#include "catalogue/ElevationAngles.h"

namespace quv::conventions {

inline double Same(double x)
{
    return x;
}
// Azimuths counted the other way round (the record's stored list, GRANET).
inline double Negated(double x)
{
    return -x;
}
// Elevation angles counted up from the horizon: the record angle is the downtilt.
inline double AboveHorizon(double x)
{
    return DowntiltFromElevation(x);
}
inline double PipeBackHalf(double x)
{
    return 180 - x;
}
inline double GranetVertical(double x)
{
    return 270 - x;
}
inline double NetPlanVertical(double k)
{
    return k + 180;
}
inline double EdxBackSlice(double x)
{
    return 180 + x;
}

} // namespace quv::conventions
