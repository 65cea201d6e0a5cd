#pragma once
// Items of selection lists: a node (DAG or not), optionally with mesh
// components, or a plug.

#include <memory>
#include <vector>

#include "host/src/core/Object.h"
#include "host/src/dg/Graph.h"

namespace ehost {

//! A set of mesh components by index: vertices, edges and faces by one,
//! face-vertices (vtxFace[vertex][face]) by two.
class Component : public Object {
public:
    explicit Component(MFn::Type k) : kind(k) {}
    MFn::Type apiType() const override { return kind; }
    bool doubleIndexed() const { return kind == MFn::kMeshVtxFaceComponent; }
    size_t count() const { return elements.size(); }
    //! Whether the element (and, double-indexed, its second index) is listed.
    bool has(int e, int s = -1) const;
    //! Adds an element unless it is listed already; true when added.
    bool add(int e, int s = -1);
    //! Adds every element of another component of the same kind.
    void merge(const Component& other);
    //! The same elements, whatever their order.
    bool sameElements(const Component& other) const;
    std::shared_ptr<Component> copy() const { return std::make_shared<Component>(*this); }

    MFn::Type kind;
    std::vector<int> elements;  // in the order added, without repeats
    std::vector<int> second;    // double-indexed: each element's second index
    //! The bounds setCompleteData was given (-1: none): a complete component
    //! holds every index (pair) below them.
    int completeU = -1, completeV = -1;
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
