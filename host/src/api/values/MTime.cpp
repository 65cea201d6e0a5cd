#include <maya/MTime.h>

#include <ostream>

namespace {

//! How many of the unit make one second; 0 for units without a rate.
double perSecond(MTime::Unit unit) {
    switch (unit) {
        case MTime::kHours:
            return 1.0 / 3600.0;
        case MTime::kMinutes:
            return 1.0 / 60.0;
        case MTime::kSeconds:
            return 1.0;
        case MTime::kMilliseconds:
            return 1000.0;
        case MTime::kGames:
            return 15.0;
        case MTime::kFilm:
            return 24.0;
        case MTime::kPALFrame:
            return 25.0;
        case MTime::kNTSCFrame:
            return 30.0;
        case MTime::kShowScan:
            return 48.0;
        case MTime::kPALField:
            return 50.0;
        case MTime::kNTSCField:
            return 60.0;
        case MTime::k2FPS:
            return 2.0;
        case MTime::k3FPS:
            return 3.0;
        case MTime::k4FPS:
            return 4.0;
        case MTime::k5FPS:
            return 5.0;
        case MTime::k6FPS:
            return 6.0;
        case MTime::k8FPS:
            return 8.0;
        case MTime::k10FPS:
            return 10.0;
        case MTime::k12FPS:
            return 12.0;
        case MTime::k16FPS:
            return 16.0;
        case MTime::k20FPS:
            return 20.0;
        case MTime::k40FPS:
            return 40.0;
        case MTime::k75FPS:
            return 75.0;
        case MTime::k80FPS:
            return 80.0;
        case MTime::k100FPS:
            return 100.0;
        case MTime::k120FPS:
            return 120.0;
        case MTime::k125FPS:
            return 125.0;
        case MTime::k150FPS:
            return 150.0;
        case MTime::k200FPS:
            return 200.0;
        case MTime::k240FPS:
            return 240.0;
        case MTime::k250FPS:
            return 250.0;
        case MTime::k300FPS:
            return 300.0;
        case MTime::k375FPS:
            return 375.0;
        case MTime::k400FPS:
            return 400.0;
        case MTime::k500FPS:
            return 500.0;
        case MTime::k600FPS:
            return 600.0;
        case MTime::k750FPS:
            return 750.0;
        case MTime::k1200FPS:
            return 1200.0;
        case MTime::k1500FPS:
            return 1500.0;
        case MTime::k2000FPS:
            return 2000.0;
        case MTime::k3000FPS:
            return 3000.0;
        case MTime::k6000FPS:
            return 6000.0;
        case MTime::k23_976FPS:
            return 24000.0 / 1001.0;
        case MTime::k29_97FPS:
        case MTime::k29_97DF:
            return 30000.0 / 1001.0;
        case MTime::k47_952FPS:
            return 48000.0 / 1001.0;
        case MTime::k59_94FPS:
            return 60000.0 / 1001.0;
        case MTime::k44100FPS:
            return 44100.0;
        case MTime::k48000FPS:
            return 48000.0;
        case MTime::k90FPS:
            return 90.0;
        default:
            return 0.0;
    }
}

//! Converts a value between units; the same value when either has no rate.
double convert(double value, MTime::Unit from, MTime::Unit to) {
    if (from == to) return value;
    double f = perSecond(from), t = perSecond(to);
    if (f == 0.0 || t == 0.0) return value;
    return value / f * t;
}

MTime::Unit& currentUiUnit() {
    static MTime::Unit unit = MTime::kFilm;
    return unit;
}

}  // namespace

MTime::MTime() : value_(0.0), unit_(uiUnit()) {}

MTime::MTime(double timeValue, Unit unit) : value_(timeValue), unit_(unit) {}

MStatus MTime::setUnit(Unit newUnit) {
    if (perSecond(newUnit) == 0.0)
        return MStatus(MStatus::kInvalidParameter, "MTime::setUnit: not a time unit with a rate");
    value_ = convert(value_, unit_, newUnit);
    unit_ = newUnit;
    return MStatus::kSuccess;
}

MStatus MTime::setValue(double newValue) {
    value_ = newValue;
    return MStatus::kSuccess;
}

double MTime::as(Unit otherUnit) const {
    if (perSecond(otherUnit) == 0.0) return 0.0;
    return convert(value_, unit_, otherUnit);
}

MTime::Unit MTime::uiUnit() {
    return currentUiUnit();
}

MStatus MTime::setUIUnit(Unit newUnit) {
    if (perSecond(newUnit) == 0.0)
        return MStatus(MStatus::kInvalidParameter, "MTime::setUIUnit: not a time unit with a rate");
    currentUiUnit() = newUnit;
    return MStatus::kSuccess;
}

MTime MTime::operator+(const MTime& rhs) const {
    return MTime(value_ + rhs.as(unit_), unit_);
}
MTime MTime::operator+(double rhs) const {
    return MTime(value_ + rhs, unit_);
}
MTime MTime::operator-(const MTime& rhs) const {
    return MTime(value_ - rhs.as(unit_), unit_);
}
MTime MTime::operator-(double rhs) const {
    return MTime(value_ - rhs, unit_);
}
MTime MTime::operator*(double rhs) const {
    return MTime(value_ * rhs, unit_);
}
MTime MTime::operator/(double rhs) const {
    return MTime(value_ / rhs, unit_);
}
MTime& MTime::operator+=(const MTime& rhs) {
    return *this = *this + rhs;
}
MTime& MTime::operator+=(double rhs) {
    return *this = *this + rhs;
}
MTime& MTime::operator-=(const MTime& rhs) {
    return *this = *this - rhs;
}
MTime& MTime::operator-=(double rhs) {
    return *this = *this - rhs;
}
MTime& MTime::operator*=(double rhs) {
    return *this = *this * rhs;
}
MTime& MTime::operator/=(double rhs) {
    return *this = *this / rhs;
}
MTime& MTime::operator++() {
    value_ += 1.0;
    return *this;
}
MTime MTime::operator++(int) {
    MTime before = *this;
    value_ += 1.0;
    return before;
}
MTime& MTime::operator--() {
    value_ -= 1.0;
    return *this;
}
MTime MTime::operator--(int) {
    MTime before = *this;
    value_ -= 1.0;
    return before;
}

bool MTime::operator==(const MTime& rhs) const {
    return value_ == rhs.as(unit_);
}

bool MTime::operator<(const MTime& rhs) const {
    return value_ < rhs.as(unit_);
}

std::ostream& operator<<(std::ostream& os, const MTime& time) {
    return os << time.value();
}
