#include "host/src/view/Panel.h"

#include "host/src/view/Camera.h"

namespace ehost {

bool Panel::hasCamera() const { return camera && camera->alive && camera->inWorld(); }

bool Panel::viewFrame(ViewFrame& out) const {
    if (!hasCamera()) return false;
    if (drawing) {
        out = *drawing;
        return true;
    }
    out = ViewFrame(cameraPose(*camera), width, height);
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
