#pragma once
// A model panel: a 3D viewport looking through a camera, its port size, the
// renderer it uses and what its last refresh drew.

#include <maya/MColor.h>
#include <maya/MMatrix.h>

#include <memory>
#include <string>
#include <vector>

#include "host/src/dag/Dag.h"
#include "host/src/view/DrawList.h"
#include "host/src/view/Projection.h"

namespace ehost {

struct ClearState {
    bool gradient = true;
    MColor top{0.535f, 0.617f, 0.702f, 1.0f};
    MColor bottom{0.052f, 0.052f, 0.052f, 1.0f};
    unsigned int mask = ~0u;
};

//! A mesh shape the frame shades, with the colour a shader override gave it
//! and where it stood when the frame was drawn.
struct ShadedShape {
    std::shared_ptr<Node> shape;
    bool overrideColor = false;
    MColor color;
    MMatrix world;
};

//! What one refresh of a panel drew.
struct Frame {
    bool drawn = false;
    ViewFrame view;
    ClearState clear;
    std::vector<ShadedShape> shapes;
    //! UI drawing in draw order (draw overrides, render operations, the tool's feedback).
    std::vector<Drawable> drawables;
    //! The render operations that ran, in order (a render override's, or the normal renderer's).
    std::vector<std::string> operations;
    std::string renderer;  // "" for the normal renderer
    bool presentDepth = false;
};

class Panel {
public:
    std::string name;
    std::shared_ptr<DagNode> camera;  // the camera shape
    int width = 640, height = 480;
    std::string renderer;  // render override name, "" for the normal renderer

    Frame frame;
    //! What the current tool drew in its last event handler; kept until its next one.
    Drawable toolEvent;
    unsigned long refreshCount = 0;
    bool refreshing = false;
    //! While the panel is being drawn: the camera as the frame sees it.
    //! Projections made during the draw use it instead of reading the camera
    //! again for every point.
    const ViewFrame* drawing = nullptr;

    //! Whether the panel looks through a camera that is still in the scene.
    bool hasCamera() const;
    //! The camera as seen through this panel's port (as the frame being
    //! drawn sees it, during a refresh); fails without a camera.
    bool viewFrame(ViewFrame& out) const;
    //! The panel's UI drawing in draw order: the last frame's, then the tool's last event's.
    std::vector<const Drawable*> drawables() const;

private:
    //! The last view computed, with what it was computed from: the port size
    //! and each node from the camera up with its change stamp.
    struct ViewCache {
        std::vector<std::pair<const Node*, unsigned long long>> chain;
        int width = 0, height = 0;
        ViewFrame view;
    };
    bool cacheMatches() const;
    mutable ViewCache cache_;
};

}  // namespace ehost

namespace ehost {

//! The frame being drawn, as draw overrides, tools and render operations
//! see it through MFrameContext.
struct FrameInfo {
    std::string panel;
    ViewFrame view;
    std::shared_ptr<DagNode> camera;
};

}  // namespace ehost
