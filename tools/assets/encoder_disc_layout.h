// The geometry of the encoder-disc picture, shared by the program that draws it and the test
// that reads the drawn tracks back.
//
// The disc is centred in a 100 x 100 picture. Its tracks are concentric rings, the least
// significant bit outermost; each ring is split into `sectors` equal sectors, counted
// counter-clockwise from the 3 o'clock direction. Sector s is black on track k when bit k of the
// reflected binary Gray code of s is set.
#pragma once

#include <cmath>
#include <numbers>
#include <utility>

namespace pelmora::disc {

inline constexpr int size = 100;
inline constexpr double centre = size / 2.0;
inline constexpr int tracks = 5;
inline constexpr int sectors = 1 << tracks;
inline constexpr double outerRadius = 48.0;
inline constexpr double hubRadius = 11.0;
inline constexpr double trackWidth = (outerRadius - hubRadius) / tracks;

inline constexpr int grayCode(int n)
{
    return n ^ (n >> 1);
}

// Track k spans radii [outerRadius - (k + 1) * trackWidth, outerRadius - k * trackWidth].
inline constexpr double trackOuterRadius(int track)
{
    return outerRadius - track * trackWidth;
}
inline constexpr double trackMiddleRadius(int track)
{
    return trackOuterRadius(track) - trackWidth / 2;
}

// Angles in degrees, counter-clockwise from 3 o'clock.
inline constexpr double sectorStartAngle(int sector)
{
    return sector * 360.0 / sectors;
}
inline constexpr double sectorMiddleAngle(int sector)
{
    return (sector + 0.5) * 360.0 / sectors;
}

// The picture coordinates (x right, y down) of the point at this radius and angle.
inline std::pair<double, double> polar(double radius, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    return {centre + radius * std::cos(radians), centre - radius * std::sin(radians)};
}

} // namespace pelmora::disc
