// The one elevation-angle convention of the program; every user of elevation angles goes through
// these functions. A data file's elevation line i (0..360) is the level i degrees ABOVE the front
// horizon, so line 354 is 6 degrees below it. TQuvFile::ElevationAt(a) reads line 360 - a: the
// level a degrees BELOW the front horizon, which is also what the keyword files write as VERTICAL
// a. So a downtilt of T degrees is the beam's peak at ElevationAt(T), at file line 360 - T, at
// VERTICAL T.
#pragma once

namespace quv {

// The ElevationAt angle (0..359) that holds the level at `degreesAboveHorizon` (negative below).
constexpr int AccessorAngleFromElevation(int degreesAboveHorizon)
{
    const int a = (-degreesAboveHorizon) % 360;
    return a < 0 ? a + 360 : a;
}

// The elevation above the front horizon (-179..180, negative below) of ElevationAt(angle).
constexpr int ElevationFromAccessorAngle(int accessorAngle)
{
    int e = (-accessorAngle) % 360;
    if (e <= -180)
        e += 360;
    else if (e > 180)
        e -= 360;
    return e;
}

// Downtilt (degrees below the horizon: the accessor angle counted signed) from an elevation above
// the horizon, and back; for whole and fractional degrees.
template <typename T> constexpr T DowntiltFromElevation(T degreesAboveHorizon)
{
    return -degreesAboveHorizon;
}
template <typename T> constexpr T ElevationFromDowntilt(T downtilt)
{
    return -downtilt;
}

// The data file's elevation line (0..359) that holds the level at `degreesAboveHorizon`.
constexpr int FileLineFromElevation(int degreesAboveHorizon)
{
    const int i = degreesAboveHorizon % 360;
    return i < 0 ? i + 360 : i;
}

} // namespace quv
