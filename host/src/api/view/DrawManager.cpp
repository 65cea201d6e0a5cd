#include <maya/MUIDrawManager.h>

#include <algorithm>

#include "host/src/view/DrawList.h"

using ehost::Primitive;
using ehost::PrimitiveKind;
using ehost::Vec3;

namespace MHWRender {

namespace {

Vec3 vec(const MPoint& p) {
    double w = p.w != 0 ? p.w : 1.0;
    return {p.x / w, p.y / w, p.z / w};
}

Vec3 vec(const MVector& v) {
    return {v.x, v.y, v.z};
}

std::vector<Vec3> vecs(const MPointArray& points) {
    std::vector<Vec3> out;
    out.reserve(points.length());
    for (const MPoint& p : points) out.push_back(vec(p));
    return out;
}

Primitive primitive(PrimitiveKind kind, bool is2D) {
    Primitive p;
    p.kind = kind;
    p.is2D = is2D;
    return p;
}

//! The host's colour index table (the first entries of the default palette).
MColor indexColor(short index) {
    static const MColor table[] = {
        {0.47f, 0.47f, 0.47f}, {0.0f, 0.0f, 0.0f},    {0.25f, 0.25f, 0.25f}, {0.5f, 0.5f, 0.5f},
        {0.61f, 0.0f, 0.16f},  {0.0f, 0.02f, 0.38f},  {0.0f, 0.0f, 1.0f},    {0.0f, 0.27f, 0.1f},
        {0.15f, 0.0f, 0.26f},  {0.78f, 0.0f, 0.78f},  {0.54f, 0.28f, 0.2f},  {0.25f, 0.14f, 0.12f},
        {0.6f, 0.15f, 0.0f},   {1.0f, 0.0f, 0.0f},    {0.0f, 1.0f, 0.0f},    {0.0f, 0.25f, 0.6f},
        {1.0f, 1.0f, 1.0f},    {1.0f, 1.0f, 0.0f},    {0.39f, 0.86f, 1.0f},  {0.26f, 1.0f, 0.64f},
        {1.0f, 0.69f, 0.69f},  {0.89f, 0.67f, 0.47f}, {1.0f, 1.0f, 0.39f},   {0.0f, 0.6f, 0.33f},
        {0.63f, 0.41f, 0.19f}, {0.62f, 0.63f, 0.19f}, {0.41f, 0.63f, 0.19f}, {0.19f, 0.63f, 0.37f},
        {0.19f, 0.63f, 0.63f}, {0.19f, 0.4f, 0.63f},  {0.44f, 0.19f, 0.63f}, {0.63f, 0.19f, 0.41f}};
    constexpr short count = static_cast<short>(sizeof(table) / sizeof(table[0]));
    return table[std::clamp<short>(index, 0, count - 1)];
}

}  // namespace

void MUIDrawManager::beginDrawable(Selectability, unsigned int) {
    impl_->beginDrawable();
}
void MUIDrawManager::endDrawable() {
    impl_->endDrawable();
}
void MUIDrawManager::beginDrawInXray() {
    impl_->state.xray = true;
}
void MUIDrawManager::endDrawInXray() {
    impl_->state.xray = false;
}

void MUIDrawManager::setColor(const MColor& color) {
    impl_->state.color = color;
}
void MUIDrawManager::setColorIndex(const short index) {
    impl_->state.color = indexColor(index);
}
void MUIDrawManager::setPointSize(float value) {
    impl_->state.pointSize = value;
}
void MUIDrawManager::setLineWidth(float value) {
    impl_->state.lineWidth = value;
}

void MUIDrawManager::setLineStyle(LineStyle style) {
    impl_->state.lineStyle = style;
    impl_->state.stippleFactor = 0;
    impl_->state.stipplePattern = 0;
}

void MUIDrawManager::setLineStyle(unsigned int factor, unsigned short pattern) {
    impl_->state.stippleFactor = factor;
    impl_->state.stipplePattern = pattern;
}

void MUIDrawManager::setPaintStyle(PaintStyle style) {
    impl_->state.paintStyle = style;
}
void MUIDrawManager::setDepthPriority(unsigned int priority) {
    impl_->state.depthPriority = priority;
}
void MUIDrawManager::setFontSize(unsigned int fontSize) {
    impl_->state.fontSize = fontSize;
}
void MUIDrawManager::setFontName(const MString& faceName) {
    impl_->state.fontName = faceName.str();
}
void MUIDrawManager::setFontWeight(unsigned int weight) {
    impl_->state.fontWeight = weight;
}
void MUIDrawManager::setFontIncline(int fontIncline) {
    impl_->state.fontIncline = fontIncline;
}
void MUIDrawManager::setFontLine(int fontLine) {
    impl_->state.fontLine = fontLine;
}
void MUIDrawManager::setFontStretch(int stretch) {
    impl_->state.fontStretch = stretch;
}

void MUIDrawManager::line(const MPoint& startPoint, const MPoint& endPoint) {
    ehost::Primitive p = primitive(PrimitiveKind::Line, false);
    p.points = {vec(startPoint), vec(endPoint)};
    impl_->add(std::move(p));
}

void MUIDrawManager::line2d(const MPoint& startPoint, const MPoint& endPoint) {
    ehost::Primitive p = primitive(PrimitiveKind::Line, true);
    p.points = {vec(startPoint), vec(endPoint)};
    impl_->add(std::move(p));
}

void MUIDrawManager::lineList(const MPointArray& points, bool draw2D) {
    ehost::Primitive p = primitive(PrimitiveKind::LineList, draw2D);
    p.points = vecs(points);
    impl_->add(std::move(p));
}

void MUIDrawManager::lineStrip(const MPointArray& points, bool draw2D) {
    ehost::Primitive p = primitive(PrimitiveKind::LineStrip, draw2D);
    p.points = vecs(points);
    impl_->add(std::move(p));
}

void MUIDrawManager::point(const MPoint& point) {
    ehost::Primitive p = primitive(PrimitiveKind::Points, false);
    p.points = {vec(point)};
    impl_->add(std::move(p));
}

void MUIDrawManager::point2d(const MPoint& point) {
    ehost::Primitive p = primitive(PrimitiveKind::Points, true);
    p.points = {vec(point)};
    impl_->add(std::move(p));
}

void MUIDrawManager::points(const MPointArray& points, bool draw2D) {
    ehost::Primitive p = primitive(PrimitiveKind::Points, draw2D);
    p.points = vecs(points);
    impl_->add(std::move(p));
}

void MUIDrawManager::rect(const MPoint& center, const MVector& up, const MVector& normal,
                          double scaleX, double scaleY, bool filled) {
    ehost::Primitive p = primitive(PrimitiveKind::Rect, false);
    p.points = {vec(center)};
    p.up = vec(up);
    p.normal = vec(normal);
    p.scaleX = scaleX;
    p.scaleY = scaleY;
    p.filled = filled;
    impl_->add(std::move(p));
}

void MUIDrawManager::rect2d(const MPoint& center, const MVector& up, double scaleX, double scaleY,
                            bool filled) {
    ehost::Primitive p = primitive(PrimitiveKind::Rect, true);
    p.points = {vec(center)};
    p.up = vec(up);
    p.scaleX = scaleX;
    p.scaleY = scaleY;
    p.filled = filled;
    impl_->add(std::move(p));
}

void MUIDrawManager::circle(const MPoint& center, const MVector& normal, double radius,
                            bool filled) {
    ehost::Primitive p = primitive(PrimitiveKind::Circle, false);
    p.points = {vec(center)};
    p.normal = vec(normal);
    p.radius = radius;
    p.filled = filled;
    impl_->add(std::move(p));
}

void MUIDrawManager::circle2d(const MPoint& center, double radius, bool filled) {
    ehost::Primitive p = primitive(PrimitiveKind::Circle, true);
    p.points = {vec(center)};
    p.radius = radius;
    p.filled = filled;
    impl_->add(std::move(p));
}

void MUIDrawManager::arc(const MPoint& center, const MVector& start, const MVector& end,
                         const MVector& normal, double radius, bool filled) {
    ehost::Primitive p = primitive(PrimitiveKind::Arc, false);
    p.points = {vec(center)};
    p.start = vec(start);
    p.end = vec(end);
    p.normal = vec(normal);
    p.radius = radius;
    p.filled = filled;
    impl_->add(std::move(p));
}

void MUIDrawManager::arc2d(const MPoint& center, const MVector& start, const MVector& end,
                           double radius, bool filled) {
    ehost::Primitive p = primitive(PrimitiveKind::Arc, true);
    p.points = {vec(center)};
    p.start = vec(start);
    p.end = vec(end);
    p.radius = radius;
    p.filled = filled;
    impl_->add(std::move(p));
}

namespace {

Primitive textPrimitive(bool is2D, const MPoint& position, const MString& text,
                        MUIDrawManager::TextAlignment alignment, const int* backgroundSize,
                        const MColor* backgroundColor, bool dynamic) {
    ehost::Primitive p = primitive(PrimitiveKind::Text, is2D);
    p.points = {vec(position)};
    p.text = text.str();
    p.alignment = alignment;
    p.hasBackground = backgroundColor != nullptr;
    if (backgroundColor) p.backgroundColor = *backgroundColor;
    if (backgroundSize) {
        p.backgroundSize[0] = backgroundSize[0];
        p.backgroundSize[1] = backgroundSize[1];
    }
    p.dynamic = dynamic;
    return p;
}

}  // namespace

void MUIDrawManager::text(const MPoint& position, const MString& text, TextAlignment alignment,
                          const int* backgroundSize, const MColor* backgroundColor, bool dynamic) {
    impl_->add(
        textPrimitive(false, position, text, alignment, backgroundSize, backgroundColor, dynamic));
}

void MUIDrawManager::text2d(const MPoint& position, const MString& text, TextAlignment alignment,
                            const int* backgroundSize, const MColor* backgroundColor,
                            bool dynamic) {
    impl_->add(
        textPrimitive(true, position, text, alignment, backgroundSize, backgroundColor, dynamic));
}

namespace {

Primitive meshPrimitive(bool is2D, MUIDrawManager::Primitive mode, const MPointArray& position,
                        const MVectorArray* normal, const MColorArray* color,
                        const MUintArray* index) {
    ehost::Primitive p = primitive(PrimitiveKind::Mesh, is2D);
    p.meshMode = mode;
    p.points = vecs(position);
    if (normal)
        for (const MVector& n : *normal) p.normals.push_back(vec(n));
    if (color) p.colors.assign(color->begin(), color->end());
    if (index) p.indices.assign(index->begin(), index->end());
    return p;
}

}  // namespace

void MUIDrawManager::mesh(Primitive mode, const MPointArray& position, const MVectorArray* normal,
                          const MColorArray* color, const MUintArray* index, const MPointArray*) {
    impl_->add(meshPrimitive(false, mode, position, normal, color, index));
}

void MUIDrawManager::mesh2d(Primitive mode, const MPointArray& position, const MColorArray* color,
                            const MUintArray* index, const MPointArray*) {
    impl_->add(meshPrimitive(true, mode, position, nullptr, color, index));
}

void MUIDrawManager::getFontList(MStringArray& list) {
    list.clear();
    for (const char* name : {"Arial", "Sans", "Serif", "Monospace", "Helvetica", "Courier"})
        list.append(MString(name));
}

}  // namespace MHWRender
