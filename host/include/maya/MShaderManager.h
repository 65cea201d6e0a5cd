#pragma once
#include <maya/MShaderInstance.h>
#include <maya/MStatus.h>

namespace MHWRender {

//! Hands out shader instances: the renderer's stock shaders.
class OPENMAYARENDER_EXPORT MShaderManager {
public:
    enum MStockShader {
        k3dSolidShader,
        k3dBlinnShader,
        k3dDefaultMaterialShader,
        k3dSolidTextureShader,
        k3dCPVFatPointShader,
        k3dColorLookupFatPointShader,
        k3dCPVThickLineShader,
        k3dColorLookupThickLineShader,
        k3dCPVThickDashLineShader,
        k3dColorLookupThickDashLineShader,
        k3dCPVSolidShader,
        k3dIntegerNumericShader,
        k3dFloatNumericShader,
        k3dFloat2NumericShader,
        k3dFloat3NumericShader,
        k3dPointVectorShader,
        k3dFatPointShader,
        k3dThickLineShader,
        k3dDashLineShader,
        k3dThickDashLineShader,
        k3dStippleShader,
        k3dShadowerShader,
        k3dDepthShader,
        k3dCPVShader,
        k3dCPVDashLineShader
    };

    //! A new instance of a stock shader, with the stock parameter values;
    //! give it back with releaseShader.
    MShaderInstance* getStockShader(MStockShader shaderId, MLinkLostCallback linkLostCb = NULL,
                                    MLinkLostCallbackData* linkLostUserData = NULL) const;
    //! Deletes an instance this manager handed out.
    void releaseShader(MShaderInstance* shader) const;

    MShaderManager(const MShaderManager&) = delete;
    MShaderManager& operator=(const MShaderManager&) = delete;

private:
    friend class MRenderer;
    MShaderManager() = default;
    ~MShaderManager() = default;
};

}  // namespace MHWRender
