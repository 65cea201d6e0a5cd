// MNodeMessage and MDGMessage: watchers of the graph that call the plug-in's
// functions with the objects and plugs the change concerns.

#include <maya/MDGMessage.h>
#include <maya/MNodeMessage.h>

#include <memory>

#include "host/src/core/Events.h"
#include "host/src/core/Guard.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Scene.h"

using ehost::GraphChange;
using ehost::Node;
using ehost::api::fail;
using ehost::api::setStatus;

namespace {

using Kind = GraphChange::Kind;

//! Registers a watcher; the id removes it through MMessage::removeCallback.
MCallbackId watch(ehost::GraphWatch::Watcher watcher, MStatus* status) {
    MCallbackId id = ehost::theEvents().newId();
    ehost::theScene().watch.add(id, std::move(watcher));
    setStatus(status, MStatus::kSuccess);
    return id;
}

//! The node a callback is for: held weakly, so that the callback keeps no
//! node alive; changes of other nodes pass it by.
struct NodeFilter {
    std::weak_ptr<ehost::Object> node;
    bool concerns(const GraphChange& c) const {
        auto n = node.lock();
        return n && n.get() == static_cast<ehost::Object*>(c.node);
    }
};

bool nodeFilter(const MObject& node, NodeFilter& out, MStatus* status, const char* what) {
    auto n = ehost::api::nodeOf(node);
    if (!n) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, std::string(what) + " needs a dependency node"));
        return false;
    }
    out.node = n;
    return true;
}

template <class F>
bool noFunction(F func, MStatus* status, const char* what) {
    if (func) return false;
    setStatus(status, fail(MStatus::kInvalidParameter, std::string(what) + " needs a function"));
    return true;
}

MPlug plugOf(Node* node, const ehost::PlugAddr& addr) {
    return ehost::api::makePlug(node->self(), addr);
}

std::string describe(const char* what) {
    return std::string("a callback of ") + what;
}

//! A callback of MNodeMessage::<what> on one node: call runs the plug-in's
//! function for each change of that node, guarded; it passes over the kinds of
//! change that are not its own.
template <class Function, class Call>
MCallbackId watchNode(const MObject& node, Function func, MStatus* status, const char* what,
                      Call call) {
    NodeFilter filter;
    if (noFunction(func, status, what) || !nodeFilter(node, filter, status, what)) return 0;
    return watch(
        [filter, call,
         label = "a callback of MNodeMessage::" + std::string(what)](const GraphChange& c) {
            if (filter.concerns(c)) ehost::guarded(label, [&] { call(c); });
        },
        status);
}

}  // namespace

// ---------------------------------------------------------------- MNodeMessage

MCallbackId MNodeMessage::addAttributeChangedCallback(MObject& node, MAttr2PlugFunction func,
                                                      void* clientData, MStatus* status) {
    return watchNode(node, func, status, "addAttributeChangedCallback", [=](const GraphChange& c) {
        int msg = 0;
        MPlug other;
        switch (c.kind) {
            case Kind::AttributeSet:
                msg = kAttributeSet | kIncomingDirection;
                break;
            case Kind::Connected:
            case Kind::Disconnected:
                msg = (c.kind == Kind::Connected ? kConnectionMade : kConnectionBroken) |
                      (c.incoming ? kIncomingDirection : 0);
                other = plugOf(c.other.node, c.other.addr);
                break;
            default:
                return;
        }
        MPlug plug = plugOf(c.node, c.plug);
        func(static_cast<AttributeMessage>(msg), plug, other, clientData);
    });
}

MCallbackId MNodeMessage::addAttributeAddedOrRemovedCallback(MObject& node, MAttrPlugFunction func,
                                                             void* clientData, MStatus* status) {
    return watchNode(node, func, status, "addAttributeAddedOrRemovedCallback",
                     [=](const GraphChange& c) {
                         if (c.kind != Kind::AttributeAdded && c.kind != Kind::AttributeRemoved)
                             return;
                         MPlug plug = plugOf(c.node, c.plug);
                         func(c.kind == Kind::AttributeAdded ? kAttributeAdded : kAttributeRemoved,
                              plug, clientData);
                     });
}

MCallbackId MNodeMessage::addNodeDirtyCallback(MObject& node, MMessage::MBasicFunction func,
                                               void* clientData, MStatus* status) {
    return watchNode(node, func, status, "addNodeDirtyCallback", [=](const GraphChange& c) {
        if (c.kind == Kind::PlugDirty) func(clientData);
    });
}

MCallbackId MNodeMessage::addNodeDirtyCallback(MObject& node, MMessage::MNodeFunction func,
                                               void* clientData, MStatus* status) {
    return watchNode(node, func, status, "addNodeDirtyCallback", [=](const GraphChange& c) {
        if (c.kind != Kind::PlugDirty) return;
        MObject o = ehost::api::wrap(c.node->self());
        func(o, clientData);
    });
}

MCallbackId MNodeMessage::addNodeDirtyPlugCallback(MObject& node, MMessage::MNodePlugFunction func,
                                                   void* clientData, MStatus* status) {
    return watchNode(node, func, status, "addNodeDirtyPlugCallback", [=](const GraphChange& c) {
        if (c.kind != Kind::PlugDirty) return;
        MObject o = ehost::api::wrap(c.node->self());
        MPlug plug = plugOf(c.node, c.plug);
        func(o, plug, clientData);
    });
}

MCallbackId MNodeMessage::addNameChangedCallback(MObject& node, MMessage::MNodeStringFunction func,
                                                 void* clientData, MStatus* status) {
    const char* what = "addNameChangedCallback";
    if (noFunction(func, status, what)) return 0;
    NodeFilter filter;
    const bool every = node.isNull();
    if (!every && !nodeFilter(node, filter, status, what)) return 0;
    return watch(
        [filter, every, func, clientData](const GraphChange& c) {
            if (c.kind != Kind::Renamed || (!every && !filter.concerns(c))) return;
            MObject o = ehost::api::wrap(c.node->self());
            MString previous(c.previousName);
            ehost::guarded(describe("MNodeMessage::addNameChangedCallback"),
                           [&] { func(o, previous, clientData); });
        },
        status);
}

MCallbackId MNodeMessage::addNodePreRemovalCallback(MObject& node, MMessage::MNodeFunction func,
                                                    void* clientData, MStatus* status) {
    return watchNode(node, func, status, "addNodePreRemovalCallback", [=](const GraphChange& c) {
        if (c.kind != Kind::NodeRemoved) return;
        MObject o = ehost::api::wrap(c.node->self());
        func(o, clientData);
    });
}

// ---------------------------------------------------------------- MDGMessage

namespace {

MCallbackId nodeCallback(Kind kind, MMessage::MNodeFunction func, const MString& nodeType,
                         void* clientData, MStatus* status, const char* what) {
    if (noFunction(func, status, what)) return 0;
    const std::string type = nodeType.length() ? nodeType.str() : kDefaultNodeType;
    return watch(
        [kind, type, func, clientData, what](const GraphChange& c) {
            if (c.kind != kind || !c.node->cls->isA(type)) return;
            MObject o = ehost::api::wrap(c.node->self());
            ehost::guarded(describe(what), [&] { func(o, clientData); });
        },
        status);
}

}  // namespace

MCallbackId MDGMessage::addNodeAddedCallback(MMessage::MNodeFunction func, const MString& nodeType,
                                             void* clientData, MStatus* status) {
    return nodeCallback(Kind::NodeAdded, func, nodeType, clientData, status,
                        "MDGMessage::addNodeAddedCallback");
}

MCallbackId MDGMessage::addNodeRemovedCallback(MMessage::MNodeFunction func,
                                               const MString& nodeType, void* clientData,
                                               MStatus* status) {
    return nodeCallback(Kind::NodeRemoved, func, nodeType, clientData, status,
                        "MDGMessage::addNodeRemovedCallback");
}

MCallbackId MDGMessage::addConnectionCallback(MMessage::MPlugFunction func, void* clientData,
                                              MStatus* status) {
    if (noFunction(func, status, "addConnectionCallback")) return 0;
    return watch(
        [func, clientData](const GraphChange& c) {
            // Once per connection: at its destination's end.
            if ((c.kind != Kind::Connected && c.kind != Kind::Disconnected) || !c.incoming) return;
            MPlug src = plugOf(c.other.node, c.other.addr);
            MPlug dst = plugOf(c.node, c.plug);
            bool made = c.kind == Kind::Connected;
            ehost::guarded(describe("MDGMessage::addConnectionCallback"),
                           [&] { func(src, dst, made, clientData); });
        },
        status);
}
