#include "tools/harmony/FifthsWheelGeometry.h"

#include "common/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvela::FifthsWheelGeometry {

std::string Segment::id() const
{
    return (minorRing ? "min-" : "maj-") + std::to_string(index);
}

double centreDegrees(std::int64_t index)
{
    return static_cast<double>(index) * 30.0 - 90.0;
}

double startDegrees(std::int64_t index)
{
    return centreDegrees(index) - 15.0 + gapHalf;
}

double endDegrees(std::int64_t index)
{
    return centreDegrees(index) + 15.0 - gapHalf;
}

namespace {

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

struct Ring {
    double inner;
    double outer;
};

Ring ring(bool minorRing)
{
    return minorRing ? Ring{innerRingInner, innerRingOuter} : Ring{outerRingInner, outerRingOuter};
}

std::string pointText(Point p)
{
    return formatFixed(p.x, 3) + ' ' + formatFixed(p.y, 3);
}

} // namespace

std::string segmentPath(std::int64_t index, bool minorRing, double width, double height)
{
    const double r = std::min(width, height) * 0.5;
    const Point c{width * 0.5, height * 0.5};
    const auto at = [&](double radius, double degrees) {
        return Point{c.x + std::cos(radians(degrees)) * radius, c.y + std::sin(radians(degrees)) * radius};
    };
    const double outer = ring(minorRing).outer * r;
    const double inner = ring(minorRing).inner * r;
    const double start = startDegrees(index);
    const double end = endDegrees(index);
    // Sweep flag 1 runs towards growing angles: clockwise on screen.
    return "M " + pointText(at(outer, start)) + " A " + formatFixed(outer, 3) + ' ' + formatFixed(outer, 3) +
           " 0 0 1 " + pointText(at(outer, end)) + " L " + pointText(at(inner, end)) + " A " +
           formatFixed(inner, 3) + ' ' + formatFixed(inner, 3) + " 0 0 0 " + pointText(at(inner, start)) +
           " Z";
}

Point labelCentre(std::int64_t index, bool minorRing, double width, double height)
{
    const double distance = (ring(minorRing).inner + ring(minorRing).outer) * std::min(width, height) * 0.25;
    const double m = radians(centreDegrees(index));
    return {width * 0.5 + std::cos(m) * distance, height * 0.5 + std::sin(m) * distance};
}

std::optional<Segment> segmentID(double x, double y, double width, double height)
{
    const double dx = x - width * 0.5;
    const double dy = y - height * 0.5;
    const double rho = std::hypot(dx, dy) / (std::min(width, height) * 0.5);
    bool minorRing;
    if (rho >= innerRingInner && rho <= innerRingOuter)
        minorRing = true;
    else if (rho >= outerRingInner && rho <= outerRingOuter)
        minorRing = false;
    else
        return std::nullopt; // also a wheel of no size, where rho is not a number
    // Shifted by 90° to put slot 0 at the top and by 15° to put sector edges on multiples of 30.
    double a = std::atan2(dy, dx) * 180.0 / std::numbers::pi + 105.0;
    if (a < 0.0)
        a += 360.0;
    return Segment{static_cast<std::int64_t>(a / 30.0) % 12, minorRing};
}

std::optional<Segment> segmentHit(double x, double y, double width, double height)
{
    const std::optional<Segment> sector = segmentID(x, y, width, height);
    if (!sector)
        return std::nullopt;
    const double angle = std::atan2(y - height * 0.5, x - width * 0.5) * 180.0 / std::numbers::pi;
    // Distance to the sector's centre line, folded into -180…180.
    const double off = std::remainder(angle - centreDegrees(sector->index), 360.0);
    if (std::abs(off) > 15.0 - gapHalf)
        return std::nullopt;
    return sector;
}

} // namespace morvela::FifthsWheelGeometry
