#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

#define MColor_kTol 1.0e-5F

//! An RGBA colour of floats, opaque black by default. The colour-model
//! constructors take HSV with hue in degrees (floating point) or over the
//! whole integer range, and CMY/CMYK as ink amounts in [0, 1].
class OPENMAYA_EXPORT MColor {
public:
    enum MColorType { kRGB, kHSV, kCMY, kCMYK };

    constexpr MColor() = default;
    constexpr MColor(const MColor&) = default;
    constexpr MColor(float rr, float gg, float bb = 0.0F, float aa = 1.0F)
        : r(rr), g(gg), b(bb), a(aa) {}
    MColor(const float rgb[3]) : r(rgb[0]), g(rgb[1]), b(rgb[2]) {}
    MColor(MColorType colorModel, unsigned char c1, unsigned char c2, unsigned char c3,
           unsigned char alpha = 255U);
    MColor(MColorType colorModel, unsigned short c1, unsigned short c2, unsigned short c3,
           unsigned short alpha = 65535U);
    MColor(MColorType colorModel, float c1, float c2, float c3, float alpha = 1.0F);
    MColor(MColorType colorModel, double c1, double c2, double c3, double alpha = 1.0);
    ~MColor() = default;

    MColor& operator=(const MColor&) = default;

    float operator()(unsigned int i) const { return component(i); }
    float& operator()(unsigned int i) { return component(i); }
    float operator[](unsigned int i) const { return component(i); }
    float& operator[](unsigned int i) { return component(i); }

    //! Sets the colour from components in colorModel; for kCMYK the fourth value is
    //! the black ink and the colour is opaque.
    bool set(MColorType colorModel, float c1, float c2, float c3, float alpha = 1.0F);
    bool set(MColorType colorModel, double c1, double c2, double c3, double alpha = 1.0);
    //! The colour in colorModel; false for kCMYK, which has four components (the
    //! four-value form returns black in place of alpha).
    bool get(MColorType colorModel, float& c1, float& c2, float& c3) const;
    bool get(MColorType colorModel, float& c1, float& c2, float& c3, float& alpha) const;
    MStatus get(float dest[4]) const {
        dest[0] = r;
        dest[1] = g;
        dest[2] = b;
        dest[3] = a;
        return MStatus::kSuccess;
    }

    MColor operator+(const MColor& other) const {
        return MColor(r + other.r, g + other.g, b + other.b, a + other.a);
    }
    MColor& operator+=(const MColor& other) { return *this = *this + other; }
    MColor operator-(const MColor& other) const {
        return MColor(r - other.r, g - other.g, b - other.b, a - other.a);
    }
    MColor& operator-=(const MColor& other) { return *this = *this - other; }
    MColor operator-() const { return MColor(-r, -g, -b, -a); }
    MColor operator*(float scale) const {
        return MColor(r * scale, g * scale, b * scale, a * scale);
    }
    MColor& operator*=(float scale) { return *this = *this * scale; }
    //! Component by component.
    MColor operator*(const MColor& other) const {
        return MColor(r * other.r, g * other.g, b * other.b, a * other.a);
    }
    MColor& operator*=(const MColor& other) { return *this = *this * other; }
    MColor operator/(float scale) const {
        return MColor(r / scale, g / scale, b / scale, a / scale);
    }
    MColor& operator/=(float scale) { return *this = *this / scale; }
    bool operator==(const MColor& other) const {
        return r == other.r && g == other.g && b == other.b && a == other.a;
    }
    bool operator!=(const MColor& other) const { return !(*this == other); }
    bool isEquivalent(const MColor& other, float tolerance = MColor_kTol) const;

    static const MColor kOpaqueBlack;

    float r = 0.0F;
    float g = 0.0F;
    float b = 0.0F;
    float a = 1.0F;

private:
    float component(unsigned int i) const { return i == 0 ? r : (i == 1 ? g : (i == 2 ? b : a)); }
    float& component(unsigned int i) { return i == 0 ? r : (i == 1 ? g : (i == 2 ? b : a)); }
};

inline MColor operator*(float scale, const MColor& c) {
    return c * scale;
}
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MColor& c);
