#pragma once
// Shading mesh shapes into pixels with a depth buffer, for pictures of dense
// meshes: every face is filled with its flat shade and outlined with the
// wire colour where nothing nearer hides it. Supersampled, then averaged
// down, so that edges and wires come out smooth. The cost grows with the
// faces and the pixels, never with sorting.

#include <maya/MColor.h>

#include <vector>

namespace ehost {

struct ClearState;
struct ShadedShape;
class ViewFrame;

struct RasterLook {
    MColor surface;  //!< a shape's colour unless a shader override gave it one
    MColor wire;     //!< the outlines, blended by their alpha
    int supersample = 2;
};

//! Paints the background and the shapes as the view sees them into an image
//! laid out as cairo's ARGB32 (premultiplied, one native-endian 32-bit word
//! per pixel, `stride` bytes a row), view.width() by view.height() pixels.
void rasterShapes(const ViewFrame& view, const ClearState& clear,
                  const std::vector<ShadedShape>& shapes, const RasterLook& look,
                  unsigned char* pixels, int stride);

}  // namespace ehost
