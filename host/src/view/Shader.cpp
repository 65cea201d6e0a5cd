#include "host/src/view/Shader.h"

#include <maya/MShaderManager.h>

namespace ehost {

using MHWRender::MShaderInstance;
using MHWRender::MShaderManager;

int componentCount(MShaderInstance::ParameterType type) {
    switch (type) {
        case MShaderInstance::kBoolean:
        case MShaderInstance::kInteger:
        case MShaderInstance::kFloat:
            return 1;
        case MShaderInstance::kFloat2:
            return 2;
        case MShaderInstance::kFloat3:
            return 3;
        case MShaderInstance::kFloat4:
            return 4;
        case MShaderInstance::kFloat4x4Row:
        case MShaderInstance::kFloat4x4Col:
            return 16;
        default:
            return 0;
    }
}

bool ShaderData::surfaceColor(MColor& out) const {
    for (const char* name : {"diffuseColor", "solidColor"}) {
        auto it = parameters.find(name);
        if (it == parameters.end() || it->second.value.size() < 3) continue;
        const auto& v = it->second.value;
        out = MColor(v[0], v[1], v[2], v.size() > 3 ? v[3] : 1.0f);
        return true;
    }
    return false;
}

namespace {

void add(ShaderData& s, const char* name, MShaderInstance::ParameterType type,
         std::vector<float> value) {
    s.parameters[name] = {type, std::move(value)};
}

}  // namespace

std::shared_ptr<ShaderData> stockShader(int id) {
    if (id < MShaderManager::k3dSolidShader || id > MShaderManager::k3dCPVDashLineShader)
        return nullptr;
    auto s = std::make_shared<ShaderData>();
    auto stock = static_cast<MShaderManager::MStockShader>(id);
    switch (stock) {
        case MShaderManager::k3dBlinnShader:
            s->name = "mayaBlinn";
            add(*s, "diffuseColor", MShaderInstance::kFloat4, {0.5f, 0.5f, 0.5f, 1.0f});
            add(*s, "specularColor", MShaderInstance::kFloat3, {0.5f, 0.5f, 0.5f});
            add(*s, "specularPower", MShaderInstance::kFloat, {20.0f});
            add(*s, "emissionColor", MShaderInstance::kFloat3, {0.0f, 0.0f, 0.0f});
            break;
        case MShaderManager::k3dDefaultMaterialShader:
            s->name = "mayaDefaultMaterial";
            break;
        case MShaderManager::k3dFatPointShader:
        case MShaderManager::k3dCPVFatPointShader:
            s->name = "mayaFatPoint";
            add(*s, "solidColor", MShaderInstance::kFloat4, {1.0f, 1.0f, 1.0f, 1.0f});
            add(*s, "pointSize", MShaderInstance::kFloat2, {4.0f, 4.0f});
            break;
        case MShaderManager::k3dThickLineShader:
        case MShaderManager::k3dCPVThickLineShader:
        case MShaderManager::k3dThickDashLineShader:
            s->name = "mayaThickLine";
            add(*s, "solidColor", MShaderInstance::kFloat4, {1.0f, 1.0f, 1.0f, 1.0f});
            add(*s, "lineWidth", MShaderInstance::kFloat2, {2.0f, 2.0f});
            break;
        default:
            s->name = "mayaSolid";
            add(*s, "solidColor", MShaderInstance::kFloat4, {1.0f, 1.0f, 1.0f, 1.0f});
            break;
    }
    return s;
}

}  // namespace ehost
