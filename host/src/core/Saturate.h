#pragma once
// A double as an integer type, saturating: out-of-range values stop at the
// type's ends and NaN reads as 0. A plain cast of such a value is undefined
// behaviour, and attribute values, results and preferences can hold any
// double a user typed.

#include <cmath>
#include <limits>

namespace ehost {

template <class T>
T saturatingCast(double v) {
    if (std::isnan(v)) return T(0);
    if (v <= static_cast<double>(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (v >= static_cast<double>(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return static_cast<T>(v);
}

}  // namespace ehost
