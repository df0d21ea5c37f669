#include "calc/PartlyFilledCircle.h"

#include <cmath>

namespace PartlyFilledCircle {

double segmentHalfAngle(double h)
{
    const double t = 1.0 - 2.0 * h;
    if (t < -1.0 || t > 1.0)
        return 0.0;
    return std::acos(t);
}

double wettedAreaFactor(double h)
{
    const double alpha = segmentHalfAngle(h);
    return alpha / 4.0 - 0.125 * std::sin(2.0 * alpha);
}

double hydraulicRadiusRatio(double h)
{
    const double alpha = segmentHalfAngle(h);
    if (alpha == 0.0)
        return 0.0;
    return 1.0 - std::sin(2.0 * alpha) * (1.0 / (2.0 * alpha));
}

} // namespace PartlyFilledCircle
