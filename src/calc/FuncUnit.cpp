#include "calc/FuncUnit.h"

#include <cmath>

namespace FuncUnit {

double SegmentHalfAngle(double h)
{
    const double t = 1.0 - 2.0 * h;
    if (t < -1.0 || t > 1.0)
        return 0.0;
    return std::acos(t);
}

double WettedAreaFactor(double h)
{
    const double alpha = SegmentHalfAngle(h);
    return alpha / 4.0 - 0.125 * std::sin(2.0 * alpha);
}

double HydraulicRadiusRatio(double h)
{
    const double alpha = SegmentHalfAngle(h);
    if (alpha == 0.0)
        return 0.0;
    return 1.0 - std::sin(2.0 * alpha) * (1.0 / (2.0 * alpha));
}

} // namespace FuncUnit
