#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvela {

// Where the segments of the fifths wheel lie. Positions are in the wheel's own coordinates
// (y down); radii are fractions of half the shorter side; angles are degrees growing clockwise
// from the positive x axis, so -90° is straight up, where slot 0 sits.
namespace FifthsWheelGeometry {

inline constexpr double outerRingInner = 0.72;
inline constexpr double outerRingOuter = 0.985;
inline constexpr double innerRingInner = 0.47;
inline constexpr double innerRingOuter = 0.695;
// Each drawn segment stops this far short of its 30° sector on both sides.
inline constexpr double gapHalf = 1.4;

struct Segment {
    std::int64_t index;
    bool minorRing;
    bool operator==(const Segment&) const = default;
    // "maj-0", "min-3".
    std::string id() const;
};

double centreDegrees(std::int64_t index);
double startDegrees(std::int64_t index);
double endDegrees(std::int64_t index);

struct Point {
    double x;
    double y;
};

// The outline of a drawn segment as SVG path data (numbers in the C locale): the outer arc
// clockwise, the inner arc back, closed. Each segment spans 27.2° of its 30° sector.
std::string segmentPath(std::int64_t index, bool minorRing, double width, double height);
// Where a segment's label is centred: midway across its ring on its centre line.
Point labelCentre(std::int64_t index, bool minorRing, double width, double height);

// The segment whose whole 30° sector holds the point (hover): the gaps count as a neighbour.
std::optional<Segment> segmentID(double x, double y, double width, double height);
// The segment whose drawn shape holds the point (clicks): nothing on a gap.
std::optional<Segment> segmentHit(double x, double y, double width, double height);

} // namespace FifthsWheelGeometry
} // namespace morvela
