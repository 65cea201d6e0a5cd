#pragma once
#include <maya/MFloatMatrix.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

#include <memory>

namespace ehost {
struct ApiAccess;
struct ShaderData;
}  // namespace ehost

namespace MHWRender {

class MShaderInstance;
class MLinkLostCallbackData;
typedef void (*MLinkLostCallback)(MShaderInstance* shader, MLinkLostCallbackData* userData);

//! A shader the renderer draws with, and the values of its parameters.
//! Obtained from MShaderManager, which also releases it.
class OPENMAYARENDER_EXPORT MShaderInstance {
public:
    enum ParameterType {
        kInvalid,
        kBoolean,
        kInteger,
        kFloat,
        kFloat2,
        kFloat3,
        kFloat4,
        kFloat4x4Row,
        kFloat4x4Col,
        kTexture1,
        kTexture2,
        kTexture3,
        kTextureCube,
        kSampler
    };

    MStatus setParameter(const MString& parameterName, bool value);
    MStatus setParameter(const MString& parameterName, int value);
    MStatus setParameter(const MString& parameterName, float value);
    //! Reads as many floats as the parameter has components.
    MStatus setParameter(const MString& parameterName, const float* value);
    MStatus setParameter(const MString& parameterName, const MFloatVector& value);
    MStatus setParameter(const MString& parameterName, const MMatrix& value);
    MStatus setParameter(const MString& parameterName, const MFloatMatrix& value);
    void parameterList(MStringArray& list) const;
    ParameterType parameterType(const MString& parameterName) const;
    bool isTransparent() const;
    MStatus setIsTransparent(bool value);
    //! A new instance with the same shader and parameter values.
    MShaderInstance* clone() const;

    //! Made by the host's shader manager only.
    explicit MShaderInstance(std::shared_ptr<ehost::ShaderData> data);
    MShaderInstance(const MShaderInstance&) = delete;
    MShaderInstance& operator=(const MShaderInstance&) = delete;
    virtual ~MShaderInstance();

private:
    friend struct ehost::ApiAccess;
    std::shared_ptr<ehost::ShaderData> impl_;
};

}  // namespace MHWRender
