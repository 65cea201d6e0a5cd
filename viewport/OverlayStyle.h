#pragma once
// How the cut-mesh overlay looks, from the option variables the artist sets:
// read afresh every frame, each falling back to its default when unset.

#include <maya/MColor.h>

struct OverlayStyle {
    MColor surface{0.14f, 0.14f, 0.17f, 0.3f};
    MColor line{0.08f, 0.06f, 0.17f, 1.0f};
    float lineWidth = 2.5f;
    unsigned int surfaceDepthPriority = 2;
    unsigned int lineDepthPriority = 5;
    //! Faces whose backFacing exceeds it are left out.
    double cullThreshold = 0.0;
};

OverlayStyle readOverlayStyle();

//! A depth priority from a preference value: truncated, and held inside the
//! range a priority can take (NaN gives 0).
unsigned int depthPriorityOf(double value);
