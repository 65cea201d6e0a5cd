#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

//! A length with its unit. The host works in centimetres internally; the user
//! interface unit (centimetres by default) is what commands read and print.
class OPENMAYA_EXPORT MDistance {
public:
    enum Unit {
        kInvalid,
        kInches,
        kFeet,
        kYards,
        kMiles,
        kMillimeters,
        kCentimeters,
        kKilometers,
        kMeters,
        kLast
    };

    MDistance() = default;
    MDistance(const MDistance&) = default;
    MDistance(double value, Unit unit = kCentimeters) : value_(value), unit_(unit) {}
    ~MDistance() = default;
    MDistance& operator=(const MDistance&) = default;

    Unit unit() const { return unit_; }
    double value() const { return value_; }
    //! Relabels the value; the number stays as it is.
    MStatus setUnit(Unit unit);
    MStatus setValue(double value) {
        value_ = value;
        return MStatus::kSuccess;
    }
    //! The length converted to unit (0 for an invalid unit).
    double asUnits(Unit unit) const;
    double asInches() const { return asUnits(kInches); }
    double asFeet() const { return asUnits(kFeet); }
    double asYards() const { return asUnits(kYards); }
    double asMiles() const { return asUnits(kMiles); }
    double asMillimeters() const { return asUnits(kMillimeters); }
    double asCentimeters() const { return asUnits(kCentimeters); }
    double asKilometers() const { return asUnits(kKilometers); }
    double asMeters() const { return asUnits(kMeters); }

    static Unit uiUnit();
    static MStatus setUIUnit(Unit unit);
    static Unit internalUnit() { return kCentimeters; }
    static double internalToUI(double internalValue);
    static double uiToInternal(double uiValue);

private:
    double value_ = 0.0;
    Unit unit_ = kCentimeters;
};
