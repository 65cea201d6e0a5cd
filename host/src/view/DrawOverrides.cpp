#include "host/src/view/DrawOverrides.h"

#include <maya/MPxDrawOverride.h>
#include <maya/MUserData.h>

#include <algorithm>

#include "host/src/core/Guard.h"
#include "host/src/dg/Api.h"

namespace ehost {

namespace {

bool hasClassification(const std::string& list, const std::string& wanted) {
    // A type may carry several classifications separated by ':'.
    size_t begin = 0;
    while (begin <= list.size()) {
        size_t end = list.find(':', begin);
        if (end == std::string::npos) end = list.size();
        if (list.compare(begin, end - begin, wanted) == 0) return true;
        begin = end + 1;
    }
    return false;
}

}  // namespace

DrawOverrides::~DrawOverrides() {
    clear();
}

MStatus DrawOverrides::add(Creator creator) {
    if (!creator.make)
        return MStatus(MStatus::kInvalidParameter, "a draw override creator is needed");
    if (creator.classification.empty())
        return MStatus(MStatus::kInvalidParameter, "a draw override needs a draw classification");
    for (const Creator& c : creators_)
        if (c.classification == creator.classification && c.registrant == creator.registrant)
            return MStatus(MStatus::kFailure, "a draw override is already registered for " +
                                                  creator.classification + " by " +
                                                  creator.registrant);
    creators_.push_back(std::move(creator));
    return MStatus::kSuccess;
}

MStatus DrawOverrides::remove(const std::string& classification, const std::string& registrant) {
    auto it = std::find_if(creators_.begin(), creators_.end(), [&](const Creator& c) {
        return c.classification == classification && c.registrant == registrant;
    });
    if (it == creators_.end())
        return MStatus(MStatus::kNotFound, "no draw override is registered for " + classification +
                                               " by " + registrant);
    creators_.erase(it);
    std::vector<Instance> gone;
    for (auto i = instances_.begin(); i != instances_.end();) {
        if (i->second.classification == classification && i->second.registrant == registrant) {
            gone.push_back(std::move(i->second));
            i = instances_.erase(i);
        } else {
            ++i;
        }
    }
    for (Instance& g : gone) destroy(g);
    return MStatus::kSuccess;
}

const DrawOverrides::Creator* DrawOverrides::creatorFor(const NodeClass& cls) const {
    for (const NodeClass* k = &cls; k; k = k->base) {
        if (k->classification.empty()) continue;
        for (const Creator& c : creators_)
            if (hasClassification(k->classification, c.classification)) return &c;
    }
    return nullptr;
}

DrawOverrides::Instance* DrawOverrides::instanceFor(Node& node, const Creator& creator) {
    auto it = instances_.find(&node);
    if (it != instances_.end()) {
        Instance& i = it->second;
        if (i.node.lock().get() == &node && i.classification == creator.classification &&
            i.registrant == creator.registrant)
            return &i;
        // An override of a node that is gone (its address now holds another)
        // or of another creator.
        Instance stale = std::move(i);
        instances_.erase(it);
        destroy(stale);
    }
    MHWRender::MPxDrawOverride* made = guarded(
        [&] {
            return "the draw override creator for " + creator.classification + " (node " +
                   node.name + ")";
        },
        static_cast<MHWRender::MPxDrawOverride*>(nullptr),
        [&] { return creator.make(api::wrap(node.self())); });
    if (!made) return nullptr;
    Instance fresh;
    fresh.node = node.self();
    fresh.classification = creator.classification;
    fresh.registrant = creator.registrant;
    fresh.override = made;
    return &instances_.emplace(&node, std::move(fresh)).first->second;
}

DrawOverrides::Instance* DrawOverrides::find(const Node& node) {
    auto it = instances_.find(&node);
    if (it == instances_.end() || it->second.node.lock().get() != &node) return nullptr;
    return &it->second;
}

void DrawOverrides::sweep() {
    std::vector<Instance> gone;
    for (auto i = instances_.begin(); i != instances_.end();) {
        auto node = i->second.node.lock();
        if (!node || !node->alive) {
            gone.push_back(std::move(i->second));
            i = instances_.erase(i);
        } else {
            ++i;
        }
    }
    for (Instance& g : gone) destroy(g);
}

void DrawOverrides::removePlugin(const std::string& plugin) {
    std::vector<std::pair<std::string, std::string>> keys;
    for (const Creator& c : creators_)
        if (!plugin.empty() && c.plugin == plugin) keys.push_back({c.classification, c.registrant});
    for (const auto& [classification, registrant] : keys) remove(classification, registrant);
}

void DrawOverrides::clear() {
    creators_.clear();
    std::vector<Instance> gone;
    for (auto& [node, instance] : instances_) gone.push_back(std::move(instance));
    instances_.clear();
    for (Instance& g : gone) destroy(g);
}

void DrawOverrides::destroy(Instance& instance) {
    MUserData* data = instance.data;
    MHWRender::MPxDrawOverride* override = instance.override;
    instance.data = nullptr;
    instance.override = nullptr;
    delete data;
    delete override;
}

}  // namespace ehost
