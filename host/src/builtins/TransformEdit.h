#pragma once
// Undoable edits of transforms' translate, rotate and scale, shared by the
// commands that move objects in their parent's or in world space (xform,
// parent).

#include <maya/MMatrix.h>

#include <vector>

#include "host/src/nodes/Transform.h"

namespace ehost {

//! A transform's own channels: translate, rotate (radians, in its rotate
//! order) and scale.
struct Channels {
    double t[3] = {0, 0, 0};
    double r[3] = {0, 0, 0};
    double s[3] = {1, 1, 1};
    int order = 0;  // the rotateOrder attribute: xyz, yzx, zxy, xzy, yxz, zyx
};

Channels readChannels(TransformNode& node);
void writeChannels(TransformNode& node, const Channels& channels);
//! The channels that give the local matrix, in the given rotate order (a
//! shear in the matrix is dropped).
Channels channelsOf(const MMatrix& local, int rotateOrder);
//! The local matrix that puts the node at the world matrix under its parent.
MMatrix localFor(const TransformNode& node, const MMatrix& world);

//! The channels of several transforms before and after an edit.
class ChannelEdits {
public:
    //! Remembers the node's channels as they are now, before the edit.
    void record(TransformNode& node);
    //! Sets the node's channels now (the node must have been recorded).
    void set(TransformNode& node, const Channels& channels);
    void undo() const;
    void redo() const;
    bool empty() const { return edits_.empty(); }

private:
    struct Edit {
        NodePtr node;
        Channels before, after;
    };
    Edit* find(TransformNode& node);
    std::vector<Edit> edits_;
};

}  // namespace ehost
