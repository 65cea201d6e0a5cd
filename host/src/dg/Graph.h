#pragma once
// The dependency graph: attributes, node classes, nodes with their stored
// values, connections, dirty propagation and pull evaluation.

#include <maya/MFnNumericData.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <compare>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/src/core/Object.h"
#include "host/src/dg/Data.h"

class MPxNode;
class MDataBlock;

namespace ehost {

//! Numeric attributes with children are tuples (double3 ...) whose values
//! are kept together; a Compound's children keep their own values.
enum class AttrKind { Numeric, Typed, Generic, Message, Matrix, Enum, Compound };

class Attribute : public Object {
public:
    MFn::Type apiType() const override;

    bool isCompound() const { return !children.empty(); }
    //! A numeric tuple (double3 ...): its children's values are kept together
    //! in its own cell.
    bool isTuple() const { return kind != AttrKind::Compound && !children.empty(); }
    //! A component of a tuple, whose value lives in its parent's cell.
    bool inTuple() const { return parent && parent->kind != AttrKind::Compound; }
    //! Whether this attribute is above a in the attribute tree.
    bool isAncestorOf(const Attribute* a) const {
        for (const Attribute* p = a ? a->parent : nullptr; p; p = p->parent)
            if (p == this) return true;
        return false;
    }
    const Attribute* root() const { return parent ? parent->root() : this; }
    //! Component count of a numeric attribute's value (3 for a float3 compound).
    int components() const;
    bool accepts(MFnData::Type t) const;

    AttrKind kind = AttrKind::Numeric;
    std::string name, shortName;
    MFnNumericData::Type numericType = MFnNumericData::kInvalid;
    bool isAngle = false;  // stored in radians, written in degrees in command text
    MFnData::Type dataType = MFnData::kInvalid;
    std::vector<MFnData::Type> acceptedData;
    std::vector<MFnNumericData::Type> acceptedNumeric;
    std::vector<std::pair<std::string, int>> enumFields;

    std::vector<std::shared_ptr<Attribute>> children;
    Attribute* parent = nullptr;
    int childIndex = -1;

    double defaults[4] = {0, 0, 0, 0};
    DataPtr defaultData;
    //! Limits of a numeric attribute, as declared (reported, not enforced).
    struct Limit {
        bool set = false;
        double value = 0;
    };
    Limit min, max, softMin, softMax;

    bool readable = true, writable = true, storable = true, keyable = false, hidden = false,
         cached = true, array = false, connectable = true, indexMatters = true,
         usesArrayDataBuilder = false, internal = false, channelBox = false, world = false;
    //! Added to one node rather than to its type (addAttr, MFnDependencyNode::addAttribute).
    bool dynamic = false;
    //! On a node type or a node: its children can no longer change.
    bool inUse = false;
};

using AttrPtr = std::shared_ptr<Attribute>;

//! Address of a plug on a node: an attribute and, when the attribute (or its
//! compound parent) is an array, the element's logical index.
struct PlugAddr {
    const Attribute* attr = nullptr;
    int index = -1;
    auto operator<=>(const PlugAddr&) const = default;
};

class Node;
using NodePtr = std::shared_ptr<Node>;

struct PlugRef {
    Node* node = nullptr;
    PlugAddr addr;
    bool operator==(const PlugRef&) const = default;
};

//! One stored value. A compound's cell holds a cell per child in kids.
struct Cell {
    double num[4] = {0, 0, 0, 0};
    DataPtr data;
    bool dirty = false;
    std::vector<Cell> kids;
};

//! A value as a new node (or a new array element) has it: the defaults.
Cell freshCell(const Attribute& a);
//! Marks a cell and all the cells inside it dirty or clean.
void setDirtyDeep(Cell& cell, bool dirty);

struct Slot {
    Cell cell;
    std::map<int, Cell> elements;  // array attributes, by logical index
};

enum class NodeRole { Depend, Dag, Transform, Shape, Locator };

//! What one plug of one node says of itself, over its attribute's flags:
//! setAttr -lock / -keyable / -channelBox, MPlug::setLocked.
struct PlugState {
    bool locked = false;
    int keyable = -1;     // -1: as the attribute says
    int channelBox = -1;  // -1: as the attribute says
    bool plain() const { return !locked && keyable < 0 && channelBox < 0; }
};

//! A node type: its attributes in the order they were added and the
//! dependencies declared between them.
class NodeClass {
public:
    //! Adds a top-level attribute (with its children) at the end, or as the
    //! top-level attribute at position rootPosition (its slot number).
    MStatus addAttribute(const AttrPtr& attr, int rootPosition = -1);
    //! Takes a top-level attribute (and its children) out; the slots after it
    //! move down by one.
    MStatus removeAttribute(const Attribute* attr);
    MStatus addAffects(const Attribute* when, const Attribute* affected);
    int indexOf(const Attribute* attr) const;
    const Attribute* find(const std::string& name) const;
    const AttrPtr& attrAt(int index) const { return attrs[index]; }
    int slotOf(const Attribute* attr) const;
    bool isAffected(const Attribute* attr) const;
    const std::vector<const Attribute*>& affectedBy(const Attribute* when) const;
    bool isA(const std::string& type) const;
    //! A new node of this class, not yet in a scene; null (with the reason in
    //! status) when the class's creator made none.
    NodePtr makeNode(MStatus* status = nullptr);

    std::string typeName;
    MTypeId typeId;
    MFn::Type kind = MFn::kDependencyNode;
    NodeRole role = NodeRole::Depend;
    std::string classification;
    std::string pluginName;  // empty for the host's own types
    const NodeClass* base = nullptr;
    //! The registered type this is a node's own copy of (a node with dynamic
    //! attributes has one); null for a registered type.
    NodeClass* origin = nullptr;
    NodeClass& registered() { return origin ? *origin : *this; }
    const NodeClass& registered() const { return origin ? *origin : *this; }

    std::function<NodePtr(NodeClass*)> make;  // builds a node of this class
    std::function<void*()> pluginCreator;

    std::vector<AttrPtr> attrs;  // every attribute, children after their parent
    std::vector<int> roots;      // attrs index of each top-level attribute = slot number

private:
    void index(const AttrPtr& a, int slot);
    void rebuildIndex();

    std::unordered_map<const Attribute*, int> index_;
    std::unordered_map<std::string, int> byName_;
    std::unordered_map<const Attribute*, int> slot_;
    std::unordered_map<const Attribute*, std::vector<const Attribute*>> affects_;
    std::unordered_map<const Attribute*, bool> affected_;
};

class Node : public Object {
public:
    explicit Node(NodeClass* cls);
    ~Node() override;
    MFn::Type apiType() const override { return cls->kind; }

    NodePtr self() { return std::static_pointer_cast<Node>(shared_from_this()); }

    //! Runs when an output is read while dirty. kUnknownParameter means "not
    //! computed here": the stored value stands.
    virtual MStatus compute(const PlugAddr& plug, MDataBlock& block);
    //! Called while dirtiness spreads from plug; may add plugs to affected.
    virtual MStatus dependentsDirty(const PlugAddr& plug, std::vector<PlugAddr>& affected);
    //! Called when the scene is evaluated with this node's plugs dirty.
    virtual void preEvaluate(const std::vector<PlugAddr>& dirtyPlugs);
    //! Told when a connection to one of its plugs is made or broken.
    virtual void connectionChanged(const PlugAddr& local, const PlugRef& other, bool made,
                                   bool asSrc);
    //! Where a value written to the plug is kept: the plug itself, unless the
    //! node keeps what is written there elsewhere (a mesh shape without
    //! history keeps a written output as its own geometry).
    virtual PlugAddr storedAt(const PlugAddr& plug) const { return plug; }
    //! Lets the plug-in object finish its construction (once, when the node
    //! first enters a scene).
    void construct();
    //! Forgets every link to other nodes (connections; a DAG node's parent and
    //! children too), so that no node keeps another alive once the scene goes.
    virtual void dropLinks();

    // ---- dynamic attributes ----
    //! The node's own type, copied from its registered type on first use, so
    //! that attributes can be added to this node alone.
    NodeClass& ownClass();
    //! A fresh slot (the attribute's defaults) at a top-level position, for an
    //! attribute just added there; or the given value.
    void insertSlot(int slotIndex, const Attribute& root);
    void insertSlot(int slotIndex, Slot value);
    Slot removeSlot(int slotIndex);

    // ---- values ----
    Cell* cell(const PlugAddr& plug, bool create);
    const Slot& slot(int slotIndex) const { return slots_[slotIndex]; }
    Slot& slot(int slotIndex) { return slots_[slotIndex]; }
    int slotCount() const { return static_cast<int>(slots_.size()); }
    //! Logical indices of an array attribute's existing elements, ascending.
    std::vector<int> elementIndices(const Attribute* arrayAttr) const;
    bool removeElement(const Attribute* arrayAttr, int index);

    NodeClass* cls;
    std::string name;
    bool alive = false;        // part of the scene
    long long order = 0;       // creation order, kept across undo
    MPxNode* user = nullptr;   // the plug-in's object for plug-in node types
    bool constructed = false;  // the plug-in object's postConstructor ran
    //! Grows whenever a value of the node is written or dirtied: caches of
    //! values derived from the node's attributes compare it.
    unsigned long long changeStamp = 0;

    //! Plugs that say more of themselves than their attributes do.
    std::map<PlugAddr, PlugState> plugStates;
    //! Locked: the plug itself, or the compound or whole array it is part of.
    bool isLocked(const PlugAddr& plug) const;
    bool isKeyable(const PlugAddr& plug) const;
    bool isInChannelBox(const PlugAddr& plug) const;

    std::map<PlugAddr, PlugRef> inputs;        // destination plug here -> its source
    std::multimap<PlugAddr, PlugRef> outputs;  // source plug here -> destinations

private:
    std::vector<Slot> slots_;
    std::shared_ptr<NodeClass> ownClass_;
};

// ---- graph operations ----

//! The value of a plug after evaluation (pulls connections, runs compute).
const Cell& evaluate(Node& node, const PlugAddr& plug, MStatus* status = nullptr);
//! Writes a value and lets dirtiness spread from the plug.
void writeNumeric(Node& node, const PlugAddr& plug, const double* values, int count);
void writeData(Node& node, const PlugAddr& plug, DataPtr data);
//! Marks a plug dirty and spreads the dirtiness downstream.
void markDirty(Node& node, const PlugAddr& plug);
//! Spreads dirtiness from a plug that just changed.
void propagateDirty(Node& node, const PlugAddr& plug);

//! Whether two plugs may be connected (source -> destination), with a reason.
MStatus canConnect(const PlugRef& src, const PlugRef& dst);
// By value: callers often pass the very connection entries that these erase
// or overwrite.
MStatus connect(PlugRef src, PlugRef dst);
MStatus disconnect(PlugRef src, PlugRef dst);
//! Every connection touching the node, as (source, destination) pairs.
std::vector<std::pair<PlugRef, PlugRef>> connectionsOf(Node& node);

//! The plug's name relative to its node: "pnts[5].pntx", "translate".
std::string plugName(const PlugAddr& plug, bool useLongNames = true);
//! Parses "attr", "attr[3]", "attr[3].child" against a class.
bool parsePlugName(const NodeClass& cls, const std::string& text, PlugAddr& out,
                   std::string& error);

//! Runs every node's pending evaluation: pre-evaluation hooks, then pulls the
//! dirty plugs (called before a view is drawn).
void evaluateDirtyNodes();

}  // namespace ehost
