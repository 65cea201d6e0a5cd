#pragma once
#include <maya/MFn.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MStatus.h>

#include <memory>

class MObjectArray;
class MPlugArray;

//! Walks the dependency graph from a root node or plug along connections,
//! downstream (to what it feeds) or upstream (to what feeds it), depth first
//! or breadth first, reporting nodes (node level) or the plugs a walk enters
//! (plug level). The root comes first. By kDependsOn a walk goes on inside a
//! node only from the plug it entered by and the plugs that plug affects
//! (attributeAffects); by kConnectedTo it goes on from every connected plug
//! of the node. The embedded host evaluates through the dependency graph, so
//! kEvaluationGraph walks what kDependsOn walks. A filter reports only nodes
//! of one kind; the walk goes on through the others unless pruning on the
//! filter is enabled. Each node (each plug at plug level) is reported once.
class OPENMAYA_EXPORT MItDependencyGraph {
public:
    enum Direction { kDownstream, kUpstream };
    enum Traversal { kDepthFirst, kBreadthFirst };
    enum Level { kNodeLevel, kPlugLevel };
    enum Relationship { kDependsOn, kConnectedTo, kEvaluationGraph };

    MItDependencyGraph(MObject& rootNode, MFn::Type filter = MFn::kInvalid,
                       Direction direction = kDownstream, Traversal traversal = kDepthFirst,
                       Level level = kNodeLevel, MStatus* status = NULL);
    MItDependencyGraph(MPlug& rootPlug, MFn::Type filter = MFn::kInvalid,
                       Direction direction = kDownstream, Traversal traversal = kDepthFirst,
                       Level level = kPlugLevel, MStatus* status = NULL);
    MItDependencyGraph(MObject& rootNode, MFn::Type filter, Direction direction,
                       Traversal traversal, Level level, Relationship relationship,
                       MStatus* status = NULL);
    MItDependencyGraph(MPlug& rootPlug, MFn::Type filter, Direction direction, Traversal traversal,
                       Level level, Relationship relationship, MStatus* status = NULL);
    virtual ~MItDependencyGraph();
    MItDependencyGraph(const MItDependencyGraph&) = delete;
    MItDependencyGraph& operator=(const MItDependencyGraph&) = delete;

    //! Starts again at the root with the same settings.
    MStatus reset();
    MStatus resetTo(MObject& rootNode, MFn::Type filter = MFn::kInvalid,
                    Direction direction = kDownstream, Traversal traversal = kDepthFirst,
                    Level level = kNodeLevel);
    MStatus resetTo(MPlug& rootPlug, MFn::Type filter = MFn::kInvalid,
                    Direction direction = kDownstream, Traversal traversal = kDepthFirst,
                    Level level = kPlugLevel);
    MStatus resetTo(MObject& rootNode, MFn::Type filter, Direction direction, Traversal traversal,
                    Level level, Relationship relationship);
    MStatus resetTo(MPlug& rootPlug, MFn::Type filter, Direction direction, Traversal traversal,
                    Level level, Relationship relationship);

    MObject rootNode(MStatus* status = NULL);
    //! Null when the walk started at a node.
    MPlug rootPlug(MStatus* status = NULL);

    MFn::Type currentFilter(MStatus* status = NULL) const;
    //! Sets the filter and starts again at the root.
    MStatus setCurrentFilter(MFn::Type filter = MFn::kInvalid);
    //! Drops the filter (kInvalid: every node) and starts again at the root.
    MStatus resetFilter();
    bool isPruningOnFilter(MStatus* status = NULL);
    void enablePruningOnFilter();
    void disablePruningOnFilter();

    bool isDirectionDownStream(MStatus* status = NULL);
    Direction currentDirection(MStatus* status = NULL);
    //! The toggles change one setting and start again at the root.
    void toggleDirection();
    bool isTraversalDepthFirst(MStatus* status = NULL);
    Traversal currentTraversal(MStatus* status = NULL);
    void toggleTraversal();
    bool atNodeLevel(MStatus* status = NULL);
    Level currentLevel(MStatus* status = NULL);
    void toggleLevelOfDetail();
    Relationship currentRelationship(MStatus* status = NULL);
    //! Accepted and reported; the embedded host keeps no world-space
    //! dependents apart from connections.
    MStatus setTraversalOverWorldSpaceDependents(bool flag);
    bool isTraversingOverWorldSpaceDependents(MStatus* status = NULL);

    MStatus next();
    bool isDone(MStatus* status = NULL);
    //! The walk does not go on beyond the current item.
    MStatus prune();

    MObject currentItem(MStatus* status = NULL);
    MObject thisNode(MStatus* status = NULL);
    //! The plug the walk entered the current node by (the root plug for the
    //! root; null for a root node).
    MPlug thisPlug(MStatus* status = NULL);
    //! The plug at the far end of the connection the walk came along (null
    //! for the root).
    MPlug previousPlug(MStatus* status = NULL);
    bool thisNodeHasUnknownType(MStatus* status = NULL);

    //! The nodes (plugs) reported so far, in order.
    MStatus getNodesVisited(MObjectArray& nodesVisited) const;
    MStatus getPlugsVisited(MPlugArray& plugsVisited) const;
    //! The nodes (plugs) from the root to the current item, the root first.
    MStatus getNodePath(MObjectArray& path) const;
    MStatus getPlugPath(MPlugArray& path) const;

    static const char* className() { return "MItDependencyGraph"; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
