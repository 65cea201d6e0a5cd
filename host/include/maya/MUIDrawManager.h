#pragma once
#include <maya/MColor.h>
#include <maya/MColorArray.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MUintArray.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

namespace ehost {
struct ApiAccess;
class DrawRecorder;
}  // namespace ehost

namespace MHWRender {

//! Draws simple UI primitives (text, lines, circles, meshes ...) in the
//! viewport. The host hands one to draw overrides, render operations and tool
//! contexts; each primitive is drawn with the state (colour, line width and
//! style, depth priority, font, X-ray) set at the time it is issued.
class OPENMAYARENDER_EXPORT MUIDrawManager {
public:
    enum Primitive { kPoints, kLines, kLineStrip, kClosedLine, kTriangles, kTriStrip };
    enum LineStyle { kSolid, kShortDotted, kShortDashed, kDashed, kDotted };
    enum PaintStyle { kFlat, kStippled, kShaded };
    enum TextAlignment { kLeft, kCenter, kRight };
    enum FontSize { kDefaultFontSize = 12, kSmallFontSize = 9 };
    enum TextIncline { kInclineNormal = 0, kInclineItalic = 1 };
    enum TextWeight {
        kWeightLight = 25,
        kWeightNormal = 50,
        kWeightDemiBold = 63,
        kWeightBold = 75,
        kWeightBlack = 87
    };
    enum TextLine { kLineNone = 0, kLineOverline = 1, kLineUnderline = 2, kLineStrikeoutLine = 3 };
    enum TextStretch {
        kStretchUltraCondensed = 50,
        kStretchCondensed = 75,
        kStretchUnstretched = 100,
        kStretchExpanded = 125,
        kStretchUltraExpanded = 200
    };
    enum Selectability { kSelectable, kNonSelectable, kAutomatic };

    void beginDrawable(Selectability selectability = kAutomatic, unsigned int selectionName = 0);
    void endDrawable();
    void beginDrawInXray();
    void endDrawInXray();

    void setColor(const MColor& color);
    void setColorIndex(const short index);
    void setPointSize(float value);
    void setLineWidth(float value);
    void setLineStyle(LineStyle style);
    void setLineStyle(unsigned int factor, unsigned short pattern);
    void setPaintStyle(PaintStyle style);
    void setDepthPriority(unsigned int priority);
    void setFontSize(unsigned int fontSize);
    void setFontName(const MString& faceName);
    void setFontWeight(unsigned int weight);
    void setFontIncline(int fontIncline);
    void setFontLine(int fontLine);
    void setFontStretch(int stretch);

    void line(const MPoint& startPoint, const MPoint& endPoint);
    void line2d(const MPoint& startPoint, const MPoint& endPoint);
    void lineList(const MPointArray& points, bool draw2D);
    void lineStrip(const MPointArray& points, bool draw2D);
    void point(const MPoint& point);
    void point2d(const MPoint& point);
    void points(const MPointArray& points, bool draw2D);
    void rect(const MPoint& center, const MVector& up, const MVector& normal, double scaleX,
              double scaleY, bool filled = false);
    void rect2d(const MPoint& center, const MVector& up, double scaleX, double scaleY,
                bool filled = false);
    void circle(const MPoint& center, const MVector& normal, double radius, bool filled = false);
    void circle2d(const MPoint& center, double radius, bool filled = false);
    void arc(const MPoint& center, const MVector& start, const MVector& end, const MVector& normal,
             double radius, bool filled = false);
    void arc2d(const MPoint& center, const MVector& start, const MVector& end, double radius,
               bool filled = false);
    void text(const MPoint& position, const MString& text, TextAlignment alignment = kLeft,
              const int* backgroundSize = NULL, const MColor* backgroundColor = NULL,
              bool dynamic = false);
    void text2d(const MPoint& position, const MString& text, TextAlignment alignment = kLeft,
                const int* backgroundSize = NULL, const MColor* backgroundColor = NULL,
                bool dynamic = false);
    void mesh(Primitive mode, const MPointArray& position, const MVectorArray* normal = NULL,
              const MColorArray* color = NULL, const MUintArray* index = NULL,
              const MPointArray* texcoord = NULL);
    void mesh2d(Primitive mode, const MPointArray& position, const MColorArray* color = NULL,
                const MUintArray* index = NULL, const MPointArray* texcoord = NULL);

    static void getFontList(MStringArray& list);

    //! Made by the host only, each recording into one drawable.
    explicit MUIDrawManager(ehost::DrawRecorder& recorder) : impl_(&recorder) {}
    MUIDrawManager(const MUIDrawManager&) = delete;
    MUIDrawManager& operator=(const MUIDrawManager&) = delete;
    ~MUIDrawManager() = default;

private:
    friend struct ehost::ApiAccess;
    ehost::DrawRecorder* impl_;
};

}  // namespace MHWRender
