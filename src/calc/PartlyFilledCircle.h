#pragma once

// Geometry of a circular pipe section filled to the depth h * diameter.
namespace PartlyFilledCircle {

// Half the central angle, in radians, of the wetted segment at filling h;
// 0 for h outside 0..1.
double segmentHalfAngle(double h);

// Wetted area at filling h over the square of the diameter (pi/4 when full).
double wettedAreaFactor(double h);

// Hydraulic radius at filling h over that of the full section; 0 for an
// empty or out-of-range filling.
double hydraulicRadiusRatio(double h);

} // namespace PartlyFilledCircle
