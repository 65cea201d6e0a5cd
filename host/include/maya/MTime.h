#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

//! A time value in one of the host's time units; arithmetic and comparison
//! take the right operand in the left one's unit.
class OPENMAYA_EXPORT MTime {
public:
    enum Unit {
        kInvalid,
        kHours,
        kMinutes,
        kSeconds,
        kMilliseconds,
        kGames,
        k15FPS = kGames,
        kFilm,
        k24FPS = kFilm,
        kPALFrame,
        k25FPS = kPALFrame,
        kNTSCFrame,
        k30FPS = kNTSCFrame,
        kShowScan,
        k48FPS = kShowScan,
        kPALField,
        k50FPS = kPALField,
        kNTSCField,
        k60FPS = kNTSCField,
        k2FPS,
        k3FPS,
        k4FPS,
        k5FPS,
        k6FPS,
        k8FPS,
        k10FPS,
        k12FPS,
        k16FPS,
        k20FPS,
        k40FPS,
        k75FPS,
        k80FPS,
        k100FPS,
        k120FPS,
        k125FPS,
        k150FPS,
        k200FPS,
        k240FPS,
        k250FPS,
        k300FPS,
        k375FPS,
        k400FPS,
        k500FPS,
        k600FPS,
        k750FPS,
        k1200FPS,
        k1500FPS,
        k2000FPS,
        k3000FPS,
        k6000FPS,
        k23_976FPS,
        k29_97FPS,
        k29_97DF,
        k47_952FPS,
        k59_94FPS,
        k44100FPS,
        k48000FPS,
        k90FPS,
        kUserDef,
        kLast
    };

    //! Zero in the current UI unit.
    MTime();
    MTime(const MTime&) = default;
    MTime(double timeValue, Unit unit = kFilm);
    ~MTime() = default;
    MTime& operator=(const MTime&) = default;

    Unit unit() const { return unit_; }
    double value() const { return value_; }
    //! Changes the unit and converts the value: the time stays the same.
    MStatus setUnit(Unit newUnit);
    MStatus setValue(double newValue);
    double as(Unit otherUnit) const;
    double asUnits(Unit otherUnit) const { return as(otherUnit); }

    //! The unit new times are made in (film, 24 per second, at start).
    static Unit uiUnit();
    static MStatus setUIUnit(Unit newUnit);
    static const char* className() { return "MTime"; }

    MTime operator+(const MTime& rhs) const;
    MTime operator+(double rhs) const;
    MTime operator-(const MTime& rhs) const;
    MTime operator-(double rhs) const;
    MTime operator*(double rhs) const;
    MTime operator/(double rhs) const;
    MTime& operator+=(const MTime& rhs);
    MTime& operator+=(double rhs);
    MTime& operator-=(const MTime& rhs);
    MTime& operator-=(double rhs);
    MTime& operator*=(double rhs);
    MTime& operator/=(double rhs);
    MTime& operator++();
    MTime operator++(int);
    MTime& operator--();
    MTime operator--(int);

    bool operator==(const MTime& rhs) const;
    bool operator!=(const MTime& rhs) const { return !(*this == rhs); }
    bool operator<(const MTime& rhs) const;
    bool operator>(const MTime& rhs) const { return rhs < *this; }
    bool operator<=(const MTime& rhs) const { return !(rhs < *this); }
    bool operator>=(const MTime& rhs) const { return !(*this < rhs); }

private:
    double value_ = 0.0;
    Unit unit_ = kFilm;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MTime& time);
