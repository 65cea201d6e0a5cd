#include <maya/MFnComponent.h>
#include <maya/MFnDoubleIndexedComponent.h>
#include <maya/MFnSet.h>
#include <maya/MFnSingleIndexedComponent.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>
#include <maya/MStringArray.h>

#include <algorithm>
#include <limits>

#include "host/src/core/Events.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/Preferences.h"
#include "host/src/dag/Dag.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/ObjectSet.h"

using ehost::ComponentPtr;
using ehost::SelItem;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

MStatus outOfRange(unsigned index, size_t size) {
    return fail(MStatus::kInvalidParameter, "selection index " + std::to_string(index) +
                                                " is out of range (" + std::to_string(size) +
                                                " items)");
}

ComponentPtr componentOf(const MObject& o) {
    return ehost::ApiAccess::as<ehost::Component>(o);
}

}  // namespace

// ---------------------------------------------------------------- MSelectionList

MSelectionList::MSelectionList() : impl_(std::make_unique<Impl>()) {}
MSelectionList::MSelectionList(const MSelectionList& other)
    : impl_(std::make_unique<Impl>(*other.impl_)) {}
MSelectionList& MSelectionList::operator=(const MSelectionList& other) {
    *impl_ = *other.impl_;
    return *this;
}
MSelectionList::~MSelectionList() = default;

MStatus MSelectionList::clear() {
    impl_->items.clear();
    return MStatus::kSuccess;
}

bool MSelectionList::isEmpty(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return impl_->items.empty();
}

unsigned int MSelectionList::length(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return static_cast<unsigned>(impl_->items.size());
}

MStatus MSelectionList::getDependNode(unsigned int index, MObject& node) const {
    if (index >= impl_->items.size()) return outOfRange(index, impl_->items.size());
    const SelItem& item = impl_->items[index];
    if (!item.node->alive)
        return fail(MStatus::kInvalidParameter, item.node->name + " is no longer in the scene");
    node = ehost::api::wrap(item.node);
    return MStatus::kSuccess;
}

MStatus MSelectionList::getDagPath(unsigned int index, MDagPath& path, MObject& component) const {
    if (index >= impl_->items.size()) return outOfRange(index, impl_->items.size());
    const SelItem& item = impl_->items[index];
    if (!dynamic_cast<ehost::DagNode*>(item.node.get()))
        return fail(MStatus::kInvalidParameter, item.node->name + " is not a DAG node");
    MStatus st = MDagPath::getAPathTo(ehost::api::wrap(item.node), path);
    if (!st) return st;
    if (&component != &MObject::kNullObj) {
        if (item.component) {
            component = ehost::api::wrap(item.component->copy());
        } else {
            component = MObject();
        }
    }
    return MStatus::kSuccess;
}

MStatus MSelectionList::getPlug(unsigned int index, MPlug& plug) const {
    if (index >= impl_->items.size()) return outOfRange(index, impl_->items.size());
    const SelItem& item = impl_->items[index];
    if (!item.plug.attr)
        return fail(MStatus::kInvalidParameter, "item " + std::to_string(index) + " is not a plug");
    plug = ehost::api::makePlug(item.node, item.plug);
    return MStatus::kSuccess;
}

MStatus MSelectionList::add(const MString& matchString, bool) {
    std::vector<SelItem> found;
    std::string error;
    if (!ehost::resolveName(matchString.str(), found, error))
        return fail(MStatus::kInvalidParameter, error);
    for (const auto& item : found) ehost::addItem(impl_->items, item);
    return MStatus::kSuccess;
}

MStatus MSelectionList::add(const MObject& object, bool mergeWithExisting) {
    auto n = ehost::api::nodeOf(object);
    if (!n || !n->alive)
        return fail(MStatus::kInvalidParameter, "only nodes in the scene can be added");
    ehost::addItem(impl_->items, SelItem{n, nullptr, {}}, mergeWithExisting);
    return MStatus::kSuccess;
}

MStatus MSelectionList::add(const MDagPath& path, const MObject& component,
                            bool mergeWithExisting) {
    if (!path.isValid()) return fail(MStatus::kInvalidParameter, "the DAG path is not valid");
    auto n = ehost::api::nodeOf(path.node());
    ComponentPtr c = componentOf(component);
    if (!component.isNull() && !c)
        return fail(MStatus::kInvalidParameter, "the component object is not a component");
    if (c && c->doubleIndexed()) {
        auto* shape = dynamic_cast<ehost::DagNode*>(n.get());
        for (size_t i = 0; i < c->elements.size(); ++i) {
            const int v = c->elements[i], f = c->second[i];
            std::vector<int> corners = shape ? shape->faceVertexIds(f) : std::vector<int>();
            if (std::find(corners.begin(), corners.end(), v) == corners.end())
                return fail(MStatus::kInvalidParameter, "vtxFace[" + std::to_string(v) + "][" +
                                                            std::to_string(f) +
                                                            "] is no face-vertex of " + n->name);
        }
    } else if (c) {
        int count = ehost::componentCount(*n, c->kind);
        for (int e : c->elements)
            if (e < 0 || e >= count)
                return fail(MStatus::kInvalidParameter, "component index " + std::to_string(e) +
                                                            " is out of range on " + n->name);
    }
    ehost::addItem(impl_->items, SelItem{n, c, {}}, mergeWithExisting);
    return MStatus::kSuccess;
}

MStatus MSelectionList::add(const MPlug& plug, bool mergeWithExisting) {
    auto r = ehost::api::plugRef(plug);
    if (!r.node || !r.addr.attr || !r.node->alive)
        return fail(MStatus::kInvalidParameter, "the plug is null");
    ehost::addItem(impl_->items, SelItem{r.node->self(), nullptr, r.addr}, mergeWithExisting);
    return MStatus::kSuccess;
}

MStatus MSelectionList::add(const MSelectionList& other, MergeStrategy strategy) {
    return merge(other, strategy);
}

MStatus MSelectionList::merge(const MSelectionList& other, MergeStrategy strategy) {
    auto items = other.impl_->items;
    for (const auto& item : items) {
        auto it = std::find_if(impl_->items.begin(), impl_->items.end(), [&](const SelItem& s) {
            return s.sameTarget(item) &&
                   (!s.component || s.component->sameElements(*item.component));
        });
        if (strategy == kMergeNormal)
            ehost::addItem(impl_->items, item);
        else if (it != impl_->items.end())
            impl_->items.erase(it);
        else if (strategy == kXORWithList)
            ehost::addItem(impl_->items, item);
    }
    return MStatus::kSuccess;
}

MStatus MSelectionList::remove(unsigned int index) {
    if (index >= impl_->items.size()) return outOfRange(index, impl_->items.size());
    impl_->items.erase(impl_->items.begin() + index);
    return MStatus::kSuccess;
}

MStatus MSelectionList::replace(unsigned int index, const MObject& item) {
    if (index >= impl_->items.size()) return outOfRange(index, impl_->items.size());
    auto n = ehost::api::nodeOf(item);
    if (!n) return fail(MStatus::kInvalidParameter, "not a node");
    impl_->items[index] = SelItem{n, nullptr, {}};
    return MStatus::kSuccess;
}

MStatus MSelectionList::replace(unsigned int index, const MDagPath& item,
                                const MObject& component) {
    if (index >= impl_->items.size()) return outOfRange(index, impl_->items.size());
    if (!item.isValid()) return fail(MStatus::kInvalidParameter, "the DAG path is not valid");
    impl_->items[index] = SelItem{ehost::api::nodeOf(item.node()), componentOf(component), {}};
    return MStatus::kSuccess;
}

MStatus MSelectionList::toggle(const MDagPath& path, const MObject& component) {
    MSelectionList one;
    MStatus st = one.add(path, component);
    if (!st) return st;
    return merge(one, kXORWithList);
}

bool MSelectionList::hasItem(const MObject& item, MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    auto n = ehost::api::nodeOf(item);
    return std::any_of(impl_->items.begin(), impl_->items.end(), [&](const SelItem& s) {
        return s.node == n && !s.component && !s.plug.attr;
    });
}

bool MSelectionList::hasItem(const MDagPath& item, const MObject& component,
                             MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    auto n = item.isValid() ? ehost::api::nodeOf(item.node()) : nullptr;
    ComponentPtr c = componentOf(component);
    return std::any_of(impl_->items.begin(), impl_->items.end(), [&](const SelItem& s) {
        if (s.node != n || s.plug.attr) return false;
        if (!c) return !s.component;
        if (!s.component || s.component->kind != c->kind) return false;
        for (size_t i = 0; i < c->elements.size(); ++i)
            if (!s.component->has(c->elements[i], c->doubleIndexed() ? c->second[i] : -1))
                return false;
        return true;
    });
}

MStatus MSelectionList::getSelectionStrings(MStringArray& strings) const {
    strings.clear();
    for (const auto& item : impl_->items)
        for (const auto& s : ehost::itemStrings(item)) strings.append(MString(s));
    return MStatus::kSuccess;
}

MStatus MSelectionList::getSelectionStrings(unsigned int index, MStringArray& strings) const {
    strings.clear();
    if (index >= impl_->items.size()) return outOfRange(index, impl_->items.size());
    for (const auto& s : ehost::itemStrings(impl_->items[index])) strings.append(MString(s));
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- MGlobal: selection

namespace {

std::vector<SelItem>& active() {
    return ehost::theSelection().items;
}

//! Drops items whose node left the scene.
void prune(std::vector<SelItem>& items) {
    items.erase(
        std::remove_if(items.begin(), items.end(), [](const SelItem& s) { return !s.node->alive; }),
        items.end());
}

void applyToActive(const std::vector<SelItem>& items, MGlobal::ListAdjustment mode) {
    auto& sel = active();
    switch (mode) {
        case MGlobal::kReplaceList:
            sel.clear();
            for (const auto& i : items) ehost::addItem(sel, i);
            break;
        case MGlobal::kAddToList:
            for (const auto& i : items) ehost::addItem(sel, i);
            break;
        case MGlobal::kAddToHeadOfList: {
            std::vector<SelItem> head;
            for (const auto& i : items) ehost::addItem(head, i);
            for (const auto& i : sel)
                if (std::none_of(head.begin(), head.end(),
                                 [&](const SelItem& h) { return h.sameTarget(i); }))
                    head.push_back(i);
            sel = std::move(head);
            break;
        }
        case MGlobal::kRemoveFromList:
        case MGlobal::kXORWithList:
            for (const auto& i : items) {
                auto it = std::find_if(sel.begin(), sel.end(),
                                       [&](const SelItem& s) { return s.sameTarget(i); });
                if (it != sel.end())
                    sel.erase(it);
                else if (mode == MGlobal::kXORWithList)
                    ehost::addItem(sel, i);
            }
            break;
    }
    ehost::theEvents().fire("SelectionChanged");
}

}  // namespace

MGlobal::MMayaState MGlobal::mayaState(MStatus* status) {
    setStatus(status, MStatus::kSuccess);
    return kLibraryApp;
}

MString MGlobal::mayaVersion() {
    return "2020";
}
int MGlobal::apiVersion() {
    return MAYA_API_VERSION;
}

MStatus MGlobal::getActiveSelectionList(MSelectionList& dest, bool) {
    prune(active());
    dest.clear();
    ehost::ApiAccess::impl(dest)->items = active();
    return MStatus::kSuccess;
}

MStatus MGlobal::setActiveSelectionList(const MSelectionList& src, ListAdjustment mode) {
    auto items = ehost::ApiAccess::impl(src)->items;
    prune(items);
    applyToActive(items, mode);
    return MStatus::kSuccess;
}

MStatus MGlobal::getSelectionListByName(const MString& name, MSelectionList& list) {
    list.clear();
    return list.add(name);
}

MStatus MGlobal::selectByName(const MString& name, ListAdjustment mode) {
    MSelectionList list;
    MStatus st = list.add(name);
    if (!st) return st;
    return setActiveSelectionList(list, mode);
}

MStatus MGlobal::unselectByName(const MString& name) {
    return selectByName(name, kRemoveFromList);
}

MStatus MGlobal::select(const MObject& object, ListAdjustment mode) {
    MSelectionList list;
    MStatus st = list.add(object);
    if (!st) return st;
    return setActiveSelectionList(list, mode);
}

MStatus MGlobal::select(const MDagPath& path, const MObject& component, ListAdjustment mode) {
    MSelectionList list;
    MStatus st = list.add(path, component);
    if (!st) return st;
    return setActiveSelectionList(list, mode);
}

MStatus MGlobal::select(const MSelectionList& list, ListAdjustment mode) {
    return setActiveSelectionList(list, mode);
}

MStatus MGlobal::unselect(const MObject& object) {
    return select(object, kRemoveFromList);
}

MStatus MGlobal::clearSelectionList() {
    active().clear();
    ehost::theEvents().fire("SelectionChanged");
    return MStatus::kSuccess;
}

bool MGlobal::isSelected(const MObject& object, MStatus* status) {
    auto n = ehost::api::nodeOf(object);
    if (!n) {
        setStatus(status, fail(MStatus::kInvalidParameter, "isSelected: the object is not a node"));
        return false;
    }
    setStatus(status, MStatus::kSuccess);
    return n->alive && std::any_of(active().begin(), active().end(), [&](const SelItem& s) {
               return s.node == n && !s.component && !s.plug.attr;
           });
}

MStatus MGlobal::deleteNode(MObject& node) {
    auto n = ehost::api::nodeOf(node);
    if (!n || !n->alive)
        return fail(MStatus::kInvalidParameter,
                    "deleteNode: the object is not a node in the scene");
    if (auto* d = dynamic_cast<ehost::DagNode*>(n.get()); d && d->isWorld())
        return fail(MStatus::kInvalidParameter, "the world cannot be deleted");
    ehost::removeNodes({n.get()});
    return MStatus::kSuccess;
}

MStatus MGlobal::executePythonCommand(const MString&, bool, bool) {
    ehost::theMessages().error("this host has no Python interpreter");
    return fail(MStatus::kNotImplemented, "this host has no Python interpreter");
}

// ---------------------------------------------------------------- MGlobal: option variables

int MGlobal::optionVarIntValue(const MString& name, bool* exists) {
    const auto* v = ehost::thePrefs().find(name.str());
    if (exists) *exists = v != nullptr;
    return v ? v->asInt() : 0;
}

double MGlobal::optionVarDoubleValue(const MString& name, bool* exists) {
    const auto* v = ehost::thePrefs().find(name.str());
    if (exists) *exists = v != nullptr;
    return v ? v->asDouble() : 0.0;
}

MString MGlobal::optionVarStringValue(const MString& name, bool* exists) {
    const auto* v = ehost::thePrefs().find(name.str());
    if (exists) *exists = v != nullptr;
    return v ? MString(v->asString()) : MString();
}

bool MGlobal::setOptionVarValue(const MString& name, int value) {
    return ehost::thePrefs().set(name.str(), ehost::OptionValue::ofInt(value));
}

bool MGlobal::setOptionVarValue(const MString& name, double value) {
    return ehost::thePrefs().set(name.str(), ehost::OptionValue::ofDouble(value));
}

bool MGlobal::setOptionVarValue(const MString& name, const MString& value) {
    return ehost::thePrefs().set(name.str(), ehost::OptionValue::ofString(value.str()));
}

bool MGlobal::optionVarExists(const MString& name) {
    return ehost::thePrefs().find(name.str()) != nullptr;
}

void MGlobal::removeOptionVar(const MString& name) {
    ehost::thePrefs().remove(name.str());
}

// ---------------------------------------------------------------- MGlobal: messages

void MGlobal::displayInfo(const MString& message) {
    ehost::theMessages().info(message.str());
}
void MGlobal::displayWarning(const MString& message, bool) {
    ehost::theMessages().warning(message.str());
}
void MGlobal::displayError(const MString& message, bool) {
    ehost::theMessages().error(message.str());
}

// ---------------------------------------------------------------- components

MFnComponent::MFnComponent(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

int MFnComponent::elementCount(MStatus* status) {
    auto c = componentOf(obj_);
    setStatus(status, c ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no component"));
    return c ? static_cast<int>(c->elements.size()) : 0;
}

MFn::Type MFnComponent::componentType(MStatus* status) {
    auto c = componentOf(obj_);
    setStatus(status, c ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no component"));
    return c ? c->kind : MFn::kInvalid;
}

bool MFnComponent::isEmpty(MStatus* status) const {
    auto c = componentOf(obj_);
    setStatus(status, MStatus::kSuccess);
    return !c || c->elements.empty();
}

bool MFnComponent::isEqual(const MObject& other, MStatus* status) const {
    auto a = componentOf(obj_), b = componentOf(other);
    setStatus(status, MStatus::kSuccess);
    return a && b && a->sameElements(*b);
}

bool MFnComponent::isComplete(MStatus* status) const {
    auto c = componentOf(obj_);
    setStatus(status, c ? MStatus(MStatus::kSuccess)
                        : fail(MStatus::kInvalidParameter, "function set has no component"));
    if (!c || c->completeU < 0) return false;
    const long long whole =
        static_cast<long long>(c->completeU) * (c->doubleIndexed() ? c->completeV : 1);
    return static_cast<long long>(c->count()) == whole;
}

namespace {

//! Fills a component with every index (pair) below the bounds; refused when
//! the count would not fit an int or the memory.
MStatus fillComplete(ehost::Component& c, int maxU, int maxV) {
    if (maxU < 0 || maxV < 0)
        return fail(MStatus::kInvalidParameter, "a complete component needs counts of 0 or more");
    const long long total = static_cast<long long>(maxU) * (c.doubleIndexed() ? maxV : 1);
    if (total > std::numeric_limits<int>::max())
        return fail(MStatus::kInvalidParameter,
                    "a component of " + std::to_string(total) + " elements is too large");
    try {
        std::vector<int> first, second;
        first.reserve(static_cast<size_t>(total));
        if (c.doubleIndexed()) second.reserve(static_cast<size_t>(total));
        for (int u = 0; u < maxU; ++u) {
            if (!c.doubleIndexed()) {
                first.push_back(u);
                continue;
            }
            for (int v = 0; v < maxV; ++v) {
                first.push_back(u);
                second.push_back(v);
            }
        }
        c.elements = std::move(first);
        c.second = std::move(second);
    } catch (const std::bad_alloc&) {
        return fail(MStatus::kInsufficientMemory,
                    "no memory for a component of " + std::to_string(total) + " elements");
    }
    c.completeU = maxU;
    c.completeV = c.doubleIndexed() ? maxV : -1;
    return MStatus::kSuccess;
}

}  // namespace

MFnSingleIndexedComponent::MFnSingleIndexedComponent(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

MObject MFnSingleIndexedComponent::create(MFn::Type componentType, MStatus* status) {
    if (componentType != MFn::kMeshVertComponent && componentType != MFn::kMeshEdgeComponent &&
        componentType != MFn::kMeshPolygonComponent) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, std::string("cannot make a component of kind ") +
                                                       ehost::kindName(componentType)));
        return MObject();
    }
    obj_ = ehost::api::wrap(std::make_shared<ehost::Component>(componentType));
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MStatus MFnSingleIndexedComponent::addElement(int element) {
    auto c = componentOf(obj_);
    if (!c) return fail(MStatus::kInvalidParameter, "function set has no component");
    if (element < 0)
        return fail(MStatus::kInvalidParameter, "component indices cannot be negative");
    c->add(element);
    return MStatus::kSuccess;
}

MStatus MFnSingleIndexedComponent::addElements(const MIntArray& elements) {
    for (unsigned i = 0; i < elements.length(); ++i) {
        MStatus st = addElement(elements[i]);
        if (!st) return st;
    }
    return MStatus::kSuccess;
}

int MFnSingleIndexedComponent::element(int index, MStatus* status) const {
    auto c = componentOf(obj_);
    if (!c || index < 0 || index >= static_cast<int>(c->elements.size())) {
        setStatus(status, fail(MStatus::kInvalidParameter, "component element index out of range"));
        return -1;
    }
    setStatus(status, MStatus::kSuccess);
    return c->elements[index];
}

MStatus MFnSingleIndexedComponent::getElements(MIntArray& elements) const {
    elements.clear();
    auto c = componentOf(obj_);
    if (!c) return fail(MStatus::kInvalidParameter, "function set has no component");
    for (int e : c->elements) elements.append(e);
    return MStatus::kSuccess;
}

MStatus MFnSingleIndexedComponent::setCompleteData(int numElements) {
    auto c = componentOf(obj_);
    if (!c) return fail(MStatus::kInvalidParameter, "function set has no component");
    return fillComplete(*c, numElements, 0);
}

MStatus MFnSingleIndexedComponent::getCompleteData(int& numElements) const {
    auto c = componentOf(obj_);
    if (!c) return fail(MStatus::kInvalidParameter, "function set has no component");
    numElements = std::max(0, c->completeU);
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- MFnDoubleIndexedComponent

MFnDoubleIndexedComponent::MFnDoubleIndexedComponent(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

MObject MFnDoubleIndexedComponent::create(MFn::Type componentType, MStatus* status) {
    if (componentType != MFn::kMeshVtxFaceComponent) {
        setStatus(status, fail(MStatus::kInvalidParameter,
                               std::string("cannot make a double-indexed component of kind ") +
                                   ehost::kindName(componentType)));
        return MObject();
    }
    obj_ = ehost::api::wrap(std::make_shared<ehost::Component>(componentType));
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MStatus MFnDoubleIndexedComponent::addElement(int uIndex, int vIndex) {
    auto c = componentOf(obj_);
    if (!c) return fail(MStatus::kInvalidParameter, "function set has no component");
    if (uIndex < 0 || vIndex < 0)
        return fail(MStatus::kInvalidParameter, "component indices cannot be negative");
    c->add(uIndex, vIndex);
    return MStatus::kSuccess;
}

MStatus MFnDoubleIndexedComponent::addElements(MIntArray& uIndexArray, MIntArray& vIndexArray) {
    if (uIndexArray.length() != vIndexArray.length())
        return fail(MStatus::kInvalidParameter, "the index arrays differ in length (" +
                                                    std::to_string(uIndexArray.length()) + " and " +
                                                    std::to_string(vIndexArray.length()) + ")");
    for (unsigned i = 0; i < uIndexArray.length(); ++i)
        if (uIndexArray[i] < 0 || vIndexArray[i] < 0)
            return fail(MStatus::kInvalidParameter, "component indices cannot be negative");
    for (unsigned i = 0; i < uIndexArray.length(); ++i) {
        MStatus st = addElement(uIndexArray[i], vIndexArray[i]);
        if (!st) return st;
    }
    return MStatus::kSuccess;
}

MStatus MFnDoubleIndexedComponent::getElement(int index, int& uIndex, int& vIndex) const {
    auto c = componentOf(obj_);
    if (!c) return fail(MStatus::kInvalidParameter, "function set has no component");
    if (index < 0 || index >= static_cast<int>(c->count()))
        return fail(MStatus::kInvalidParameter, "component element index out of range");
    uIndex = c->elements[index];
    vIndex = c->second[index];
    return MStatus::kSuccess;
}

MStatus MFnDoubleIndexedComponent::getElements(MIntArray& uIndexArray,
                                               MIntArray& vIndexArray) const {
    uIndexArray.clear();
    vIndexArray.clear();
    auto c = componentOf(obj_);
    if (!c) return fail(MStatus::kInvalidParameter, "function set has no component");
    for (size_t i = 0; i < c->count(); ++i) {
        uIndexArray.append(c->elements[i]);
        vIndexArray.append(c->second[i]);
    }
    return MStatus::kSuccess;
}

MStatus MFnDoubleIndexedComponent::setCompleteData(int maxU, int maxV) {
    auto c = componentOf(obj_);
    if (!c) return fail(MStatus::kInvalidParameter, "function set has no component");
    return fillComplete(*c, maxU, maxV);
}

MStatus MFnDoubleIndexedComponent::getCompleteData(int& maxU, int& maxV) const {
    auto c = componentOf(obj_);
    if (!c) return fail(MStatus::kInvalidParameter, "function set has no component");
    maxU = std::max(0, c->completeU);
    maxV = std::max(0, c->completeV);
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- MFnSet

MFnSet::MFnSet(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

MObject MFnSet::create(const MSelectionList& members, Restriction, MStatus* status) {
    ehost::NodeClass* cls = ehost::theRegistry().findClass("objectSet");
    MStatus st;
    ehost::NodePtr set = ehost::theScene().create(*cls, "set1", &st);
    if (!set) {
        setStatus(status, st);
        return MObject();
    }
    obj_ = ehost::api::wrap(set);
    setStatus(status, addMembers(members));
    return obj_;
}

MStatus MFnSet::getMembers(MSelectionList& members, bool) const {
    members.clear();
    auto set = ehost::api::nodeOf(obj_);
    if (!set) return fail(MStatus::kInvalidParameter, "function set has no set");
    for (ehost::Node* m : ehost::setMembers(*set))
        ehost::addItem(ehost::ApiAccess::impl(members)->items, SelItem{m->self(), nullptr, {}});
    return MStatus::kSuccess;
}

MStatus MFnSet::addMember(const MObject& object) {
    auto set = ehost::api::nodeOf(obj_);
    auto n = ehost::api::nodeOf(object);
    if (!set || !n || !n->alive)
        return fail(MStatus::kInvalidParameter, "addMember needs a set and a node in the scene");
    return ehost::addSetMember(*set, *n);
}

MStatus MFnSet::addMember(const MDagPath& path, const MObject& component) {
    if (!component.isNull())
        return fail(MStatus::kNotImplemented, "sets of components are not supported");
    if (!path.isValid()) return fail(MStatus::kInvalidParameter, "the DAG path is not valid");
    return addMember(path.node());
}

MStatus MFnSet::addMembers(const MSelectionList& list) {
    for (const auto& item : ehost::ApiAccess::impl(list)->items) {
        MStatus st = addMember(ehost::api::wrap(item.node));
        if (!st) return st;
    }
    return MStatus::kSuccess;
}

MStatus MFnSet::removeMember(const MObject& object) {
    auto set = ehost::api::nodeOf(obj_);
    auto n = ehost::api::nodeOf(object);
    if (!set || !n) return fail(MStatus::kInvalidParameter, "removeMember needs a set and a node");
    std::vector<std::pair<ehost::PlugRef, ehost::PlugRef>> drop;
    for (auto& [addr, src] : set->inputs)
        if (src.node == n.get()) drop.push_back({src, ehost::PlugRef{set.get(), addr}});
    if (drop.empty())
        return fail(MStatus::kInvalidParameter, n->name + " is not a member of " + set->name);
    for (auto& [s, d] : drop) ehost::disconnect(s, d);
    return MStatus::kSuccess;
}

bool MFnSet::isMember(const MObject& object, MStatus* status) const {
    auto set = ehost::api::nodeOf(obj_);
    auto n = ehost::api::nodeOf(object);
    setStatus(status, set ? MStatus(MStatus::kSuccess)
                          : fail(MStatus::kInvalidParameter, "function set has no set"));
    if (!set || !n) return false;
    auto members = ehost::setMembers(*set);
    return std::find(members.begin(), members.end(), n.get()) != members.end();
}

bool MFnSet::isMember(const MDagPath& path, MStatus* status) const {
    return path.isValid() && isMember(path.node(), status);
}

MStatus MFnSet::clear() {
    auto set = ehost::api::nodeOf(obj_);
    if (!set) return fail(MStatus::kInvalidParameter, "function set has no set");
    std::vector<std::pair<ehost::PlugRef, ehost::PlugRef>> drop;
    for (auto& [addr, src] : set->inputs) drop.push_back({src, ehost::PlugRef{set.get(), addr}});
    for (auto& [s, d] : drop) ehost::disconnect(s, d);
    return MStatus::kSuccess;
}
