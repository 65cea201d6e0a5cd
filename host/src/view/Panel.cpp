#include "host/src/view/Panel.h"

#include "host/src/nodes/Camera.h"

namespace ehost {

bool Panel::hasCamera() const {
    return camera && camera->alive && camera->inWorld();
}

bool Panel::cacheMatches() const {
    if (cache_.width != width || cache_.height != height) return false;
    size_t k = 0;
    for (const DagNode* d = camera.get(); d && !d->isWorld(); d = d->parent, ++k)
        if (k >= cache_.chain.size() || cache_.chain[k].first != d ||
            cache_.chain[k].second != d->changeStamp)
            return false;
    return k == cache_.chain.size();
}

bool Panel::viewFrame(ViewFrame& out) const {
    if (!hasCamera()) return false;
    if (drawing) {
        out = *drawing;
        return true;
    }
    // Reading the camera and the transforms above it costs far more than a
    // projection: views keep it until one of those nodes changes.
    if (!cacheMatches()) {
        cache_.view = ViewFrame(cameraPose(*camera), width, height);
        cache_.width = width;
        cache_.height = height;
        cache_.chain.clear();
        for (const DagNode* d = camera.get(); d && !d->isWorld(); d = d->parent)
            cache_.chain.push_back({d, d->changeStamp});
    }
    out = cache_.view;
    return true;
}

std::vector<const Drawable*> Panel::drawables() const {
    std::vector<const Drawable*> out;
    out.reserve(frame.drawables.size() + 1);
    for (const Drawable& d : frame.drawables) out.push_back(&d);
    if (!toolEvent.primitives.empty()) out.push_back(&toolEvent);
    return out;
}

}  // namespace ehost
