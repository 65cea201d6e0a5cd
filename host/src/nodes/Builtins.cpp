#include "host/src/nodes/Builtins.h"
#include "host/src/nodes/PolyNodes.h"

#include "host/src/nodes/Camera.h"

namespace ehost {

void registerBuiltinNodeTypes(Registry& registry) {
    registerTransformType(registry);
    registerSetTypes(registry);
    registerMeshTypes(registry);
    registerPolyNodeTypes(registry);
    registerCameraType(registry);
}

}  // namespace ehost
