#pragma once
// Viewport drawing of the rail node: the strokes, the player and its pin
// points, magnet points, the fuse preview, the shadow strokes of the last
// patch and the two prompt lines, all in X-ray, only in the active view.

#include <maya/MCallbackIdArray.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MPxDrawOverride.h>

class Tessark;

class TessarkDrawOverride : public MHWRender::MPxDrawOverride {
public:
    static MHWRender::MPxDrawOverride* Creator(const MObject& obj) {
        return new TessarkDrawOverride(obj);
    }
    ~TessarkDrawOverride() override;

    MHWRender::DrawAPI supportedDrawAPIs() const override;
    bool hasUIDrawables() const override { return true; }
    bool isBounded(const MDagPath& objPath, const MDagPath& cameraPath) const override;
    MUserData* prepareForDraw(const MDagPath& objPath, const MDagPath& cameraPath,
                              const MHWRender::MFrameContext& frameContext,
                              MUserData* oldData) override;
    void addUIDrawables(const MDagPath& objPath, MHWRender::MUIDrawManager& drawManager,
                        const MHWRender::MFrameContext& frameContext,
                        const MUserData* data) override;

private:
    explicit TessarkDrawOverride(const MObject& obj);
    static void onModelEditorChanged(void* clientData);

    void drawPrompts(MHWRender::MUIDrawManager& dm, int portHeight) const;
    void drawPinPoints(MHWRender::MUIDrawManager& dm) const;
    void drawPlayerLine(MHWRender::MUIDrawManager& dm) const;
    void drawStrokes(MHWRender::MUIDrawManager& dm) const;
    void drawMagnetPoints(MHWRender::MUIDrawManager& dm) const;
    void drawFusePreview(MHWRender::MUIDrawManager& dm) const;
    void drawShadowStrokes(MHWRender::MUIDrawManager& dm) const;

    MPointArray playersLine;
    MPointArray playerpts;
    MIntArray sizes;
    MPointArray strokes;
    MPointArray fusemesh;
    MPointArray magnetPt;
    MPointArray fusept;
    MIntArray fuseindices;
    MPointArray strokesShadow;
    MIntArray sizesShadow;
    bool mode = true;

    Tessark* railNode = nullptr;
    MCallbackId modelEditorCallback = 0;
};
