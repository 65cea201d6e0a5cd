#pragma once
// The override's overlay pass: the cut mesh (the first item of the active
// selection) drawn over the scene as a translucent surface with its edges,
// faces turned away from the camera left out.

#include <maya/MDagPath.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MViewport2Renderer.h>

#include <vector>

#include "geometry/overlay.h"

class MUserRenderOperationTester : public MHWRender::MUserRenderOperation {
public:
    explicit MUserRenderOperationTester(const MString& name);
    ~MUserRenderOperationTester() override;

    MStatus execute(const MHWRender::MDrawContext& drawContext) override;
    bool hasUIDrawables() const override;
    void addUIDrawables(MHWRender::MUIDrawManager& drawManager,
                        const MHWRender::MFrameContext& frameContext) override;
    bool requiresLightData() const override;

    void setUserUIDrawables(bool value) { mUserUIDrawables = value; }
    void setUserUILightData(bool value) { mUserUILightData = value; }
    void setViewportRectangle(bool value) { mViewportRectangle = value; }
    bool viewportRectangle() const { return mViewportRectangle; }

private:
    void drawOverlay(MHWRender::MUIDrawManager& drawManager,
                     const MHWRender::MFrameContext& frameContext);
    void updateCutMesh();
    void rebuildLists(const MDagPath& camera, double cullThreshold);

    MPointArray mTriangles;
    MPointArray mEdges;
    // Kept between frames for their storage: the overlay is rebuilt on every
    // refresh, and allocates only when the mesh grows.
    std::vector<geo::Polyline> mPolygons;
    geo::OverlayLists mLists;
    MDagPath mCutMesh;
    bool mUserUIDrawables = true;
    bool mUserUILightData = false;
    bool mViewportRectangle = false;
};
