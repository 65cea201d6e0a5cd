#pragma once
// Items of selection lists: a node (DAG or not), optionally with mesh
// components, or a plug.

#include <memory>
#include <vector>

#include "host/src/core/Object.h"
#include "host/src/dg/Graph.h"

namespace ehost {

//! A set of mesh components (vertices, edges, faces) by index.
class Component : public Object {
public:
    explicit Component(MFn::Type k) : kind(k) {}
    MFn::Type apiType() const override { return kind; }
    MFn::Type kind;
    std::vector<int> elements;  // in the order added, without repeats
};

using ComponentPtr = std::shared_ptr<Component>;

struct SelItem {
    NodePtr node;
    ComponentPtr component;  // null for a whole node
    PlugAddr plug;           // plug.attr set for a plug item
    bool sameTarget(const SelItem& o) const {
        return node == o.node && plug == o.plug &&
               (component == nullptr) == (o.component == nullptr) &&
               (!component || component->kind == o.component->kind);
    }
};

class Selection {
public:
    std::vector<SelItem> items;
};

//! The running session's active selection.
Selection& theSelection();

}  // namespace ehost
