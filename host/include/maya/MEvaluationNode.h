#pragma once
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>

#include <vector>

class MEvaluationNode;

//! Walks the dirty plugs of a node being evaluated.
class OPENMAYA_EXPORT MEvaluationNodeIterator {
public:
    explicit MEvaluationNodeIterator(const MEvaluationNode& node, MStatus* status = NULL);
    bool isDone(MStatus* status = NULL) const;
    MStatus next();
    MPlug plug(MStatus* status = NULL) const;
    MStatus reset();

private:
    const MEvaluationNode* node_;
    unsigned int position_ = 0;
};

//! A node as the scene's evaluation sees it: the node and its dirty plugs.
class OPENMAYA_EXPORT MEvaluationNode {
public:
    MEvaluationNode() = default;
    MObject dependencyNode(MStatus* status = NULL) const;
    bool dirtyPlugExists(const MObject& attribute, MStatus* status = NULL) const;
    MPlug dirtyPlug(const MObject& attribute, MStatus* status = NULL) const;
    MEvaluationNodeIterator iterator(MStatus* status = NULL) const;

private:
    friend class MEvaluationNodeIterator;
    friend struct ehost::ApiAccess;
    struct Impl {
        MObject node;
        std::vector<MPlug> dirty;
    };
    Impl impl_;
};
