#pragma once
// The scene: every live node, by creation order and by unique name.

#include <maya/MStatus.h>

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/src/dg/Graph.h"
#include "host/src/dg/Watch.h"

namespace ehost {

class Scene {
public:
    //! The DAG hangs under root, the world node (made by the DAG floor, see theWorld()).
    explicit Scene(NodePtr root);
    ~Scene();

    //! Live nodes in creation order (the host's iteration order).
    const std::vector<NodePtr>& nodes() const { return nodes_; }
    Node* find(const std::string& name) const;

    //! A name is a letter or underscore followed by letters, digits and underscores.
    static bool validName(const std::string& name, std::string* why = nullptr);
    //! The name itself when free, else the name with its trailing number raised
    //! (or a number added) until it is free.
    std::string uniqueName(const std::string& wanted) const;

    //! Makes a node of the class, named uniquely after wanted (or the class).
    NodePtr create(NodeClass& cls, const std::string& wanted, MStatus* status);
    //! Gives a node made outside the scene its place in the creation order and
    //! a unique name after wanted, and puts it into the scene.
    MStatus adopt(const NodePtr& node, const std::string& wanted);
    //! Puts a node (back) into the scene under its name; fails if the name is taken.
    MStatus attach(const NodePtr& node);
    //! The same for many nodes at once (an undone delete): fails, attaching
    //! none, if a name is taken.
    MStatus attach(const std::vector<NodePtr>& nodes);
    //! Takes a node out of the scene; connections must be gone already.
    void detach(Node& node);
    //! The same for many nodes at once, in one pass over the scene.
    void detach(const std::vector<Node*>& nodes);
    MStatus rename(Node& node, const std::string& wanted, std::string* finalName = nullptr);

    Node& root() { return *root_; }

    void noteDirty(Node* node) { dirty_.insert(node); }
    std::vector<Node*> takeDirty();

    //! Removes every node (a new scene).
    void clear();

    //! Plugs being evaluated now: pulling one of them again is a cycle, and
    //! its stored value stands.
    std::set<std::pair<Node*, PlugAddr>> evaluating;
    //! The file the scene was opened from or renamed to ("" while untitled);
    //! the file commands set it, clear() leaves it.
    std::string fileName;
    //! Whether modelling commands record construction history (constructionHistory -toggle).
    bool recordsHistory = true;
    //! Who is told of changes to the graph (kept across new scenes).
    GraphWatch watch;

private:
    //! The numbers taken after each name stem ("pCube" -> 1..3, 7), as runs,
    //! so that a unique name is found without trying each number in turn.
    class NumberedNames {
    public:
        void add(const std::string& name);
        void remove(const std::string& name);
        //! The first number from `from` on that no name of the stem has.
        long long firstFree(const std::string& stem, long long from) const;
        void clear() { runs_.clear(); }

    private:
        std::unordered_map<std::string, std::map<long long, long long>> runs_;
    };

    void nameAdded(const std::string& name, Node* node);
    void nameRemoved(const std::string& name);
    void noteIfDirty(const NodePtr& node);

    std::vector<NodePtr> nodes_;
    std::unordered_map<std::string, Node*> byName_;
    NumberedNames numbered_;
    std::unordered_set<Node*> dirty_;
    NodePtr root_;
    long long nextOrder_ = 1;
};

//! The running session's scene.
Scene& theScene();
//! Empties the scene, and what every floor keeps about it (the undo queue,
//! the selection, the panels), then puts back what every new scene has.
void startNewScene();

}  // namespace ehost
