// MAngle and MDistance: unit conversion and the host's user interface units.
#include <maya/MAngle.h>
#include <maya/MDistance.h>

#include <numbers>

namespace {

// The user interface units are host-wide settings, changed by the unit
// command and read by everything that prints or parses a value.
MAngle::Unit uiAngleUnit = MAngle::kDegrees;
MDistance::Unit uiDistanceUnit = MDistance::kCentimeters;

// How many internal units (radians) one unit is.
double radiansPer(MAngle::Unit unit) {
    constexpr double degree = std::numbers::pi / 180.0;
    switch (unit) {
        case MAngle::kRadians:
            return 1.0;
        case MAngle::kDegrees:
            return degree;
        case MAngle::kAngMinutes:
            return degree / 60.0;
        case MAngle::kAngSeconds:
            return degree / 3600.0;
        case MAngle::kInvalid:
        case MAngle::kLast:
            break;
    }
    return 0.0;
}

// How many internal units (centimetres) one unit is.
double centimetersPer(MDistance::Unit unit) {
    switch (unit) {
        case MDistance::kInches:
            return 2.54;
        case MDistance::kFeet:
            return 30.48;
        case MDistance::kYards:
            return 91.44;
        case MDistance::kMiles:
            return 160934.4;
        case MDistance::kMillimeters:
            return 0.1;
        case MDistance::kCentimeters:
            return 1.0;
        case MDistance::kKilometers:
            return 100000.0;
        case MDistance::kMeters:
            return 100.0;
        case MDistance::kInvalid:
        case MDistance::kLast:
            break;
    }
    return 0.0;
}

MStatus badUnit(const char* what) {
    return MStatus(MStatus::kInvalidParameter, what);
}

}  // namespace

MStatus MAngle::setUnit(Unit unit) {
    if (radiansPer(unit) == 0.0) return badUnit("not an angle unit");
    unit_ = unit;
    return MStatus::kSuccess;
}

double MAngle::asUnits(Unit unit) const {
    const double to = radiansPer(unit);
    return to == 0.0 ? 0.0 : value_ * radiansPer(unit_) / to;
}

MAngle::Unit MAngle::uiUnit() {
    return uiAngleUnit;
}

MStatus MAngle::setUIUnit(Unit unit) {
    if (radiansPer(unit) == 0.0) return badUnit("not an angle unit");
    uiAngleUnit = unit;
    return MStatus::kSuccess;
}

double MAngle::internalToUI(double internalValue) {
    return internalValue / radiansPer(uiAngleUnit);
}

double MAngle::uiToInternal(double uiValue) {
    return uiValue * radiansPer(uiAngleUnit);
}

MStatus MDistance::setUnit(Unit unit) {
    if (centimetersPer(unit) == 0.0) return badUnit("not a distance unit");
    unit_ = unit;
    return MStatus::kSuccess;
}

double MDistance::asUnits(Unit unit) const {
    const double to = centimetersPer(unit);
    return to == 0.0 ? 0.0 : value_ * centimetersPer(unit_) / to;
}

MDistance::Unit MDistance::uiUnit() {
    return uiDistanceUnit;
}

MStatus MDistance::setUIUnit(Unit unit) {
    if (centimetersPer(unit) == 0.0) return badUnit("not a distance unit");
    uiDistanceUnit = unit;
    return MStatus::kSuccess;
}

double MDistance::internalToUI(double internalValue) {
    return internalValue / centimetersPer(uiDistanceUnit);
}

double MDistance::uiToInternal(double uiValue) {
    return uiValue * centimetersPer(uiDistanceUnit);
}
