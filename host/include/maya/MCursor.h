#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <string>

namespace ehost {
struct ApiAccess;
}

//! A mouse cursor shape for a tool context: one of the host's stock cursors
//! or one made from a bitmap.
class OPENMAYAUI_EXPORT MCursor {
public:
    MCursor() = default;
    MCursor(const MCursor&) = default;
    MCursor& operator=(const MCursor&) = default;
    //! A cursor from bitmaps (one bit per pixel, rows padded to bytes).
    MCursor(short width, short height, short hotSpotX, short hotSpotY, const unsigned char* bits,
            const unsigned char* mask);
    //! A cursor read from an image file.
    explicit MCursor(const char* fileName);
    ~MCursor() = default;

    bool operator==(const MCursor& other) const { return impl_.name == other.impl_.name; }
    bool operator!=(const MCursor& other) const { return !(*this == other); }

    static const MCursor defaultCursor;
    static const MCursor crossHairCursor;
    static const MCursor doubleCrossHairCursor;
    static const MCursor editCursor;
    static const MCursor pencilCursor;
    static const MCursor handCursor;

private:
    friend struct ehost::ApiAccess;
    explicit MCursor(std::string name) { impl_.name = std::move(name); }
    struct Impl {
        //! The stock cursor's name ("doubleCrossHair"), or what a custom one was made from.
        std::string name = "default";
    };
    Impl impl_;
};
