#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

//! An angle with its unit. The host works in radians internally; the user
//! interface unit (degrees by default) is what commands read and print.
class OPENMAYA_EXPORT MAngle {
public:
    enum Unit { kInvalid, kRadians, kDegrees, kAngMinutes, kAngSeconds, kLast };

    MAngle() = default;
    MAngle(const MAngle&) = default;
    MAngle(double value, Unit unit = kRadians) : value_(value), unit_(unit) {}
    ~MAngle() = default;
    MAngle& operator=(const MAngle&) = default;

    Unit unit() const { return unit_; }
    double value() const { return value_; }
    //! Relabels the value; the number stays as it is.
    MStatus setUnit(Unit unit);
    MStatus setValue(double value) {
        value_ = value;
        return MStatus::kSuccess;
    }
    //! The angle converted to unit (0 for an invalid unit).
    double asUnits(Unit unit) const;
    double asRadians() const { return asUnits(kRadians); }
    double asDegrees() const { return asUnits(kDegrees); }
    double asAngMinutes() const { return asUnits(kAngMinutes); }
    double asAngSeconds() const { return asUnits(kAngSeconds); }

    static Unit uiUnit();
    static MStatus setUIUnit(Unit unit);
    static Unit internalUnit() { return kRadians; }
    static double internalToUI(double internalValue);
    static double uiToInternal(double uiValue);

private:
    double value_ = 0.0;
    Unit unit_ = kRadians;
};
