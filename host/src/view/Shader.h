#pragma once
// The renderer's stock shaders as data: their parameters and values. Only
// the colour matters to this host's drawing.

#include <maya/MColor.h>
#include <maya/MShaderInstance.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ehost {

struct ShaderData {
    struct Parameter {
        MHWRender::MShaderInstance::ParameterType type = MHWRender::MShaderInstance::kInvalid;
        std::vector<float> value;
    };
    std::string name;
    std::map<std::string, Parameter> parameters;
    bool transparent = false;

    //! The colour surfaces drawn with the shader get (its diffuse or solid colour).
    bool surfaceColor(MColor& out) const;
};

//! Number of floats a parameter of the type holds (0 for textures and samplers).
int componentCount(MHWRender::MShaderInstance::ParameterType type);
//! A fresh copy of a stock shader's data; null for an id this host lacks.
std::shared_ptr<ShaderData> stockShader(int id);

}  // namespace ehost
