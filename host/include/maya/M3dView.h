#pragma once
#include <maya/MDagPath.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MVector.h>

#include <string>

namespace ehost {
struct ApiAccess;
}

//! A 3D viewport (model panel): its camera, its port size in pixels and the
//! conversions between view pixels (origin at the bottom left) and world
//! space. A view names its panel; it fails cleanly once the panel is gone.
class OPENMAYAUI_EXPORT M3dView {
public:
    enum DisplayStyle { kBoundingBox, kFlatShaded, kGouraudShaded, kWireFrame, kPoints };
    enum DisplayStatus {
        kActive,
        kLive,
        kDormant,
        kInvisible,
        kHilite,
        kTemplate,
        kActiveTemplate,
        kActiveComponent,
        kLead,
        kIntermediateObject,
        kActiveAffected,
        kNoStatus
    };
    enum ColorTable { kActiveColors, kDormantColors, kTemplateColor, kBackgroundColor };
    enum TextPosition { kLeft, kCenter, kRight };

    M3dView() = default;
    M3dView(const M3dView&) = default;
    M3dView& operator=(const M3dView&) = default;
    virtual ~M3dView() = default;

    static M3dView active3dView(MStatus* ReturnStatus = NULL);
    static unsigned int numberOf3dViews();
    static MStatus get3dView(const unsigned int index, M3dView& view);
    static MStatus getM3dViewFromModelPanel(const MString& modelPaneName, M3dView& view);
    static MStatus getM3dViewFromModelEditor(const MString& modelPaneName, M3dView& view);
    static void scheduleRefreshAllViews();

    //! The camera shape the view looks through.
    MStatus getCamera(MDagPath& camera);
    MStatus setCamera(MDagPath& camera);
    int portWidth(MStatus* ReturnStatus = NULL);
    int portHeight(MStatus* ReturnStatus = NULL);
    DisplayStyle displayStyle(MStatus* ReturnStatus = NULL) const;
    bool isVisible(MStatus* ReturnStatus = NULL) const;
    MString panelName(MStatus* ReturnStatus = NULL) const;

    //! The ray through a view pixel: its point on the near clip plane and its
    //! direction (unit length).
    MStatus viewToWorld(short x_pos, short y_pos, MPoint& worldPt, MVector& worldVector) const;
    //! The points of a view pixel on the near and far clip planes.
    MStatus viewToWorld(short x_pos, short y_pos, MPoint& nearClipPt, MPoint& farClipPt) const;
    //! The view pixel a world point projects to (rounded to the nearest
    //! pixel). Fails for a point level with or behind the eye; clipped tells
    //! whether the point lies outside the view (port or clip planes).
    MStatus worldToView(const MPoint& worldPt, short& x_pos, short& y_pos,
                        bool* clipped = NULL) const;

    //! Redraws this view, or every view with all.
    MStatus refresh(bool all = false, bool force = false, bool offscreen = false);
    void scheduleRefresh();

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        std::string panel;
    };
    Impl impl_;
};
