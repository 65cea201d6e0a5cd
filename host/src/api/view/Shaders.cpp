#include <maya/MShaderInstance.h>
#include <maya/MShaderManager.h>

#include "host/src/dg/Api.h"
#include "host/src/view/Shader.h"
#include "host/src/view/Views.h"

using ehost::api::fail;

namespace MHWRender {

// ---------------------------------------------------------------- MShaderInstance

MShaderInstance::MShaderInstance(std::shared_ptr<ehost::ShaderData> data)
    : impl_(std::move(data)) {}
MShaderInstance::~MShaderInstance() = default;

namespace {

//! Writes count floats into a parameter of a type that holds that many.
MStatus store(ehost::ShaderData& shader, const MString& name, const float* values, int count,
              bool exact) {
    auto it = shader.parameters.find(name.str());
    if (it == shader.parameters.end())
        return fail(MStatus::kInvalidParameter,
                    "shader " + shader.name + " has no parameter " + name.str());
    int need = ehost::componentCount(it->second.type);
    if (need == 0 || (exact && need != count) || (!exact && need > count))
        return fail(MStatus::kInvalidParameter, "parameter " + name.str() + " of shader " +
                                                    shader.name + " does not take that value");
    it->second.value.assign(values, values + need);
    return MStatus::kSuccess;
}

}  // namespace

MStatus MShaderInstance::setParameter(const MString& parameterName, bool value) {
    float v = value ? 1.0f : 0.0f;
    return store(*impl_, parameterName, &v, 1, true);
}

MStatus MShaderInstance::setParameter(const MString& parameterName, int value) {
    float v = static_cast<float>(value);
    return store(*impl_, parameterName, &v, 1, true);
}

MStatus MShaderInstance::setParameter(const MString& parameterName, float value) {
    return store(*impl_, parameterName, &value, 1, true);
}

MStatus MShaderInstance::setParameter(const MString& parameterName, const float* value) {
    if (!value)
        return fail(MStatus::kInvalidParameter, "no value given for " + parameterName.str());
    // A plain array carries as many floats as the parameter holds.
    return store(*impl_, parameterName, value, 16, false);
}

MStatus MShaderInstance::setParameter(const MString& parameterName, const MFloatVector& value) {
    const float v[3] = {value.x, value.y, value.z};
    return store(*impl_, parameterName, v, 3, true);
}

MStatus MShaderInstance::setParameter(const MString& parameterName, const MMatrix& value) {
    float v[16];
    for (int k = 0; k < 16; ++k) v[k] = static_cast<float>(value(k / 4, k % 4));
    return store(*impl_, parameterName, v, 16, true);
}

MStatus MShaderInstance::setParameter(const MString& parameterName, const MFloatMatrix& value) {
    float v[16];
    for (int k = 0; k < 16; ++k) v[k] = value(k / 4, k % 4);
    return store(*impl_, parameterName, v, 16, true);
}

void MShaderInstance::parameterList(MStringArray& list) const {
    list.clear();
    for (const auto& [name, p] : impl_->parameters) list.append(MString(name));
}

MShaderInstance::ParameterType MShaderInstance::parameterType(const MString& parameterName) const {
    auto it = impl_->parameters.find(parameterName.str());
    return it == impl_->parameters.end() ? kInvalid : it->second.type;
}

bool MShaderInstance::isTransparent() const {
    return impl_->transparent;
}

MStatus MShaderInstance::setIsTransparent(bool value) {
    impl_->transparent = value;
    return MStatus::kSuccess;
}

MShaderInstance* MShaderInstance::clone() const {
    auto* copy = new MShaderInstance(std::make_shared<ehost::ShaderData>(*impl_));
    ehost::theViews().renderOverrides().keepShader(copy);
    return copy;
}

// ---------------------------------------------------------------- MShaderManager

MShaderInstance* MShaderManager::getStockShader(MStockShader shaderId, MLinkLostCallback,
                                                MLinkLostCallbackData*) const {
    auto data = ehost::stockShader(shaderId);
    if (!data) return nullptr;
    auto* shader = new MShaderInstance(std::move(data));
    ehost::theViews().renderOverrides().keepShader(shader);
    return shader;
}

void MShaderManager::releaseShader(MShaderInstance* shader) const {
    if (shader) ehost::theViews().renderOverrides().releaseShader(shader);
}

}  // namespace MHWRender
