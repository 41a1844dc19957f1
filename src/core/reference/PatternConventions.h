// The angle conventions several formats share. Every reader maps a file angle to the record angle
// of TQuvFile::AzimuthAt(a) / ElevationAt(a) through a convention's `toRecord`, and every writer
// finds the record angle of the file angle it writes through the same convention, so the two
// directions are written once, side by side. ElevationAt(a) is the level a degrees BELOW the front
// horizon, so files that count elevation up from the horizon negate their angle. A format with a
// convention of its own defines it in its own file.
#pragma once

#include "catalogue/ElevationAngles.h"
#include "catalogue/QuvFile.h"
#include "reference/PatternFormat.h"

#include <cmath>
#include <string_view>

namespace quv::conventions {

inline double Same(double x)
{
    return x;
}
// Azimuths counted the other way round: the data file's stored order.
inline double Negated(double x)
{
    return -x;
}
// Elevation angles counted up from the horizon: the record angle is the downtilt.
inline double AboveHorizon(double x)
{
    return DowntiltFromElevation(x);
}
inline double BelowHorizon(double a)
{
    return ElevationFromDowntilt(a);
}

inline constexpr TAngleConvention kSameAzimuth{"azimuth", Same, Same};
inline constexpr TAngleConvention kSameElevation{"elevation", Same, Same};
inline constexpr TAngleConvention kStoredAzimuth{"azimuth", Negated, Negated};
inline constexpr TAngleConvention kElevationAboveHorizon{"elevation", AboveHorizon, BelowHorizon};

// The whole record angle 0..359 of a file angle.
inline int RecordAngle(const TAngleConvention& convention, int fileAngle)
{
    const long a = std::lround(convention.toRecord(fileAngle)) % 360;
    return static_cast<int>(a < 0 ? a + 360 : a);
}

// The record's level text at the file angle of a cut.
inline std::string_view AzimuthLevel(const TQuvFile& record, const TAngleConvention& convention,
                                     int fileAngle)
{
    return record.AzimuthAt(RecordAngle(convention, fileAngle));
}
inline std::string_view ElevationLevel(const TQuvFile& record, const TAngleConvention& convention,
                                       int fileAngle)
{
    return record.ElevationAt(RecordAngle(convention, fileAngle));
}

} // namespace quv::conventions
