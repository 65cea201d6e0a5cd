#pragma once
// Duplicating DAG nodes: copies show what their originals show, so the copy
// of a mesh bakes its history and tweaks, and shades like the original.

#include "host/src/dag/Dag.h"

namespace ehost {

//! Copies a DAG node. A shape is copied under a new transform placed like
//! its parent; a transform is copied with its children. Meshes are copied as
//! they show (history and tweaks baked in). Returns the new top transform.
//! With parentOnly, a transform is copied without its children.
NodePtr duplicateDag(DagNode& node, MStatus* status, bool parentOnly = false);

}  // namespace ehost
