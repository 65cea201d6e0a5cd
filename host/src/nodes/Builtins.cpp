#include "host/src/nodes/Builtins.h"

namespace ehost {

void registerBuiltinNodeTypes(Registry& registry) {
    registerTransformType(registry);
    registerSetTypes(registry);
    registerMeshTypes(registry);
}

}  // namespace ehost
