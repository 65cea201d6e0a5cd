#include "viewport/ViewportNames.h"

namespace {

// The one piece of module-wide state: the override lives from load to unload
// and only the module that made it may edit or delete it.
MRenderOverrideTester* gOverride = nullptr;

}  // namespace

MRenderOverrideTester* registeredViewportOverride() {
    return gOverride;
}

void setRegisteredViewportOverride(MRenderOverrideTester* override) {
    gOverride = override;
}
