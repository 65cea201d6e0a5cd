#include <maya/MColor.h>

#include <algorithm>
#include <cmath>
#include <ostream>

const MColor MColor::kOpaqueBlack(0.0F, 0.0F, 0.0F, 1.0F);

namespace {

struct Rgb {
    double r, g, b;
};

// Hue in degrees, saturation and value in [0, 1].
Rgb fromHsv(double h, double s, double v) {
    if (s <= 0.0) return {v, v, v};
    if (!std::isfinite(h)) h = 0;  // no sector to fall in
    double sector = std::fmod(h, 360.0) / 60.0;
    if (sector < 0.0) sector += 6.0;
    const int i = static_cast<int>(std::floor(sector)) % 6;
    const double f = sector - std::floor(sector);
    const double p = v * (1.0 - s), q = v * (1.0 - s * f), t = v * (1.0 - s * (1.0 - f));
    switch (i) {
        case 0:
            return {v, t, p};
        case 1:
            return {q, v, p};
        case 2:
            return {p, v, t};
        case 3:
            return {p, q, v};
        case 4:
            return {t, p, v};
        default:
            return {v, p, q};
    }
}

void toHsv(double r, double g, double b, float& h, float& s, float& v) {
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
    const double range = hi - lo;
    v = static_cast<float>(hi);
    s = static_cast<float>(hi > 0.0 ? range / hi : 0.0);
    double hue = 0.0;
    if (range > 0.0) {
        if (hi == r)
            hue = 60.0 * std::fmod((g - b) / range, 6.0);
        else if (hi == g)
            hue = 60.0 * ((b - r) / range + 2.0);
        else
            hue = 60.0 * ((r - g) / range + 4.0);
        if (hue < 0.0) hue += 360.0;
    }
    h = static_cast<float>(hue);
}

// Components given over an integer range [0, full]: hue scales to degrees,
// everything else to [0, 1].
MColor fromIntegers(MColor::MColorType model, double c1, double c2, double c3, double alpha,
                    double full) {
    const double hueScale = model == MColor::kHSV ? 360.0 : 1.0;
    MColor c;
    c.set(model, c1 / full * hueScale, c2 / full, c3 / full, alpha / full);
    return c;
}

}  // namespace

MColor::MColor(MColorType colorModel, unsigned char c1, unsigned char c2, unsigned char c3,
               unsigned char alpha)
    : MColor(fromIntegers(colorModel, c1, c2, c3, alpha, 255.0)) {}

MColor::MColor(MColorType colorModel, unsigned short c1, unsigned short c2, unsigned short c3,
               unsigned short alpha)
    : MColor(fromIntegers(colorModel, c1, c2, c3, alpha, 65535.0)) {}

MColor::MColor(MColorType colorModel, float c1, float c2, float c3, float alpha) {
    set(colorModel, c1, c2, c3, alpha);
}

MColor::MColor(MColorType colorModel, double c1, double c2, double c3, double alpha) {
    set(colorModel, c1, c2, c3, alpha);
}

bool MColor::set(MColorType colorModel, float c1, float c2, float c3, float alpha) {
    return set(colorModel, double(c1), double(c2), double(c3), double(alpha));
}

bool MColor::set(MColorType colorModel, double c1, double c2, double c3, double alpha) {
    Rgb rgb{};
    switch (colorModel) {
        case kRGB:
            rgb = {c1, c2, c3};
            break;
        case kHSV:
            rgb = fromHsv(c1, c2, c3);
            break;
        case kCMY:
            rgb = {1.0 - c1, 1.0 - c2, 1.0 - c3};
            break;
        // Four components do not fit this form: the fourth is read as black
        // and alpha stays opaque.
        case kCMYK:
            rgb = {(1.0 - c1) * (1.0 - alpha), (1.0 - c2) * (1.0 - alpha),
                   (1.0 - c3) * (1.0 - alpha)};
            alpha = 1.0;
            break;
        default:
            return false;
    }
    r = static_cast<float>(rgb.r);
    g = static_cast<float>(rgb.g);
    b = static_cast<float>(rgb.b);
    a = static_cast<float>(alpha);
    return true;
}

bool MColor::get(MColorType colorModel, float& c1, float& c2, float& c3) const {
    switch (colorModel) {
        case kRGB:
            c1 = r;
            c2 = g;
            c3 = b;
            return true;
        case kHSV:
            toHsv(r, g, b, c1, c2, c3);
            return true;
        case kCMY:
            c1 = 1.0F - r;
            c2 = 1.0F - g;
            c3 = 1.0F - b;
            return true;
        case kCMYK:
            break;
    }
    return false;
}

bool MColor::get(MColorType colorModel, float& c1, float& c2, float& c3, float& alpha) const {
    if (colorModel == kCMYK) {
        // Black takes the common part of the inks.
        const float k = 1.0F - std::max({r, g, b});
        const float rest = 1.0F - k;
        c1 = rest > 0.0F ? (rest - r) / rest : 0.0F;
        c2 = rest > 0.0F ? (rest - g) / rest : 0.0F;
        c3 = rest > 0.0F ? (rest - b) / rest : 0.0F;
        alpha = k;
        return true;
    }
    alpha = a;
    return get(colorModel, c1, c2, c3);
}

bool MColor::isEquivalent(const MColor& other, float tolerance) const {
    return std::fabs(r - other.r) <= tolerance && std::fabs(g - other.g) <= tolerance &&
           std::fabs(b - other.b) <= tolerance && std::fabs(a - other.a) <= tolerance;
}

std::ostream& operator<<(std::ostream& os, const MColor& c) {
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}
