#pragma once
// The host's own node types and what every new scene contains.

namespace ehost {

class Registry;
class Scene;

void registerBuiltinNodeTypes(Registry& registry);
//! Puts into an empty scene the nodes every scene has (the default shading
//! group and the perspective camera).
void populateNewScene(Scene& scene);

//! Registration of each family of built-in types (one per source file).
void registerTransformType(Registry& registry);
void registerSetTypes(Registry& registry);
void registerMeshTypes(Registry& registry);

}  // namespace ehost
