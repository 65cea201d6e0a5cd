#pragma once
#include <maya/MDagPath.h>
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <deque>
#include <memory>

class MDagPathArray;

namespace ehost {
class DagNode;
}  // namespace ehost

//! Walks the DAG below a root (the world unless reset to another node),
//! depth first or breadth first, visiting the root itself first. A filter
//! limits the nodes visited to one kind; the walk still goes through the
//! nodes it skips.
class OPENMAYA_EXPORT MItDag {
public:
    enum TraversalType { kInvalidType, kDepthFirst, kBreadthFirst };

    MItDag(TraversalType type = kDepthFirst, MFn::Type filter = MFn::kInvalid,
           MStatus* status = NULL);
    ~MItDag();

    //! Starts again from the root, with the same order and filter.
    MStatus reset();
    MStatus reset(const MObject& object, TraversalType type = kDepthFirst,
                  MFn::Type filter = MFn::kInvalid);
    MStatus reset(const MDagPath& path, TraversalType type = kDepthFirst,
                  MFn::Type filter = MFn::kInvalid);

    MObject currentItem(MStatus* status = NULL);
    MObject item(MStatus* status = NULL) { return currentItem(status); }
    MStatus next();
    //! The nodes below the current one are not visited.
    MStatus prune();
    bool isDone(MStatus* status = NULL) const;
    MObject root(MStatus* status = NULL);
    //! How far below the root the current node is (the root is at 0).
    unsigned int depth(MStatus* status = NULL) const;
    TraversalType getType(MStatus* status = NULL) const;
    MStatus getPath(MDagPath& path) const;
    MStatus getAllPaths(MDagPathArray& paths) const;
    MString fullPathName(MStatus* status = NULL) const;
    MString partialPathName(MStatus* status = NULL) const;
    bool isInstanced(bool indirect = true, MStatus* status = NULL) const;
    unsigned int instanceCount(bool total, MStatus* status = NULL) const;
    void traverseUnderWorld(bool flag) { underWorld_ = flag; }
    bool willTraverseUnderWorld(MStatus* status = NULL) const;

    static const char* className() { return "MItDag"; }

private:
    struct Step {
        std::shared_ptr<ehost::DagNode> node;
        unsigned int depth = 0;
    };
    MStatus start(const std::shared_ptr<ehost::DagNode>& root, TraversalType type,
                  MFn::Type filter);
    //! Takes the current node off the frontier and puts its children on it.
    void advance();
    bool matches(const Step& step) const;
    const Step* current() const;

    std::shared_ptr<ehost::DagNode> root_;
    TraversalType type_ = kDepthFirst;
    MFn::Type filter_ = MFn::kInvalid;
    std::deque<Step> frontier_;
    bool pruned_ = false;
    bool underWorld_ = false;
};
