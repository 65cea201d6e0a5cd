#include "studio/FrameMessages.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <bit>

namespace tessark_studio {

namespace app = ehost::application;
using nlohmann::json;

namespace {

json color(const app::Rgba& c) {
    return json::array({c.r, c.g, c.b, c.a});
}

json triple(const app::Triple& t) {
    return json::array({t[0], t[1], t[2]});
}

json matrix(const app::Matrix& m) {
    return json(std::vector<double>(m.begin(), m.end()));
}

json cameraJson(const app::ViewCamera& c) {
    return {{"eye", triple(c.eye)},
            {"forward", triple(c.forward)},
            {"right", triple(c.right)},
            {"up", triple(c.up)},
            {"centerOfInterest", triple(c.centerOfInterest)},
            {"verticalFov", c.verticalFov},
            {"ortho", c.ortho},
            {"near", c.nearClip},
            {"far", c.farClip},
            {"width", c.width},
            {"height", c.height},
            {"view", matrix(c.viewMatrix)},
            {"projection", matrix(c.projectionMatrix)}};
}

json primitiveJson(const app::DrawnPrimitive& p) {
    json j = {{"kind", p.kind},
              {"is2D", p.is2D},
              {"color", color(p.color)},
              {"lineWidth", p.lineWidth},
              {"pointSize", p.pointSize},
              {"lineStyle", p.lineStyle},
              {"depthPriority", p.depthPriority},
              {"xray", p.xray},
              {"points", p.points}};
    if (p.stippleFactor != 0) j["stipple"] = json::array({p.stippleFactor, p.stipplePattern});
    if (p.kind == "mesh") {
        j["meshMode"] = p.meshMode;
        if (!p.indices.empty()) j["indices"] = p.indices;
        if (!p.colors.empty()) j["colors"] = p.colors;
    }
    if (p.kind == "circle" || p.kind == "arc" || p.kind == "rect") {
        j["normal"] = triple(p.normal);
        j["up"] = triple(p.up);
        j["radius"] = p.radius;
        j["filled"] = p.filled;
    }
    if (p.kind == "arc") {
        j["start"] = triple(p.start);
        j["end"] = triple(p.end);
    }
    if (p.kind == "rect") {
        j["scaleX"] = p.scaleX;
        j["scaleY"] = p.scaleY;
    }
    if (p.kind == "text") {
        j["text"] = p.text;
        j["alignment"] = p.alignment;
        j["fontName"] = p.fontName;
        j["fontSize"] = p.fontSize;
        j["fontWeight"] = p.fontWeight;
        j["italic"] = p.italic;
        if (p.hasBackground) {
            j["background"] = color(p.backgroundColor);
            j["backgroundSize"] = json::array({p.backgroundWidth, p.backgroundHeight});
        }
    }
    return j;
}

void putWord(std::string& out, std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                           static_cast<char>((v >> 16) & 0xff), static_cast<char>(v >> 24)};
    out.append(bytes, 4);
}

template <class T>
void putArray(std::string& out, const std::vector<T>& values) {
    static_assert(sizeof(T) == 4);
    if constexpr (std::endian::native == std::endian::little) {
        out.append(reinterpret_cast<const char*>(values.data()), values.size() * 4);
    } else {
        for (T v : values) putWord(out, std::bit_cast<std::uint32_t>(v));
    }
}

}  // namespace

std::string groupJson(const app::DrawnGroup& group) {
    json primitives = json::array();
    for (const auto& p : group.primitives) primitives.push_back(primitiveJson(p));
    return json{{"source", group.source}, {"name", group.name}, {"primitives", primitives}}.dump(
        -1, ' ', false, json::error_handler_t::replace);
}

std::string meshMessage(const std::string& path, const app::MeshGeometryRecord& mesh) {
    std::string header = json{
        {"type", "mesh"},
        {"path", path},
        {"geometry", mesh.geometry},
        {"points", mesh.points.size() / 3},
        {"triangles", mesh.triangles.size() / 3},
        {"edges", mesh.edges.size() / 2},
        {"polygons",
         mesh.polygons}}.dump(-1, ' ', false, json::error_handler_t::replace);
    while (header.size() % 4) header += ' ';
    std::string out;
    out.reserve(4 + header.size() +
                4 * (mesh.points.size() + mesh.triangles.size() + mesh.edges.size()));
    putWord(out, static_cast<std::uint32_t>(header.size()));
    out += header;
    putArray(out, mesh.points);
    putArray(out, mesh.triangles);
    putArray(out, mesh.edges);
    return out;
}

std::string FrameDiff::frameJson(const app::DrawnFrame& frame,
                                 const std::vector<std::string>& shown) {
    json meshes = json::array();
    for (const auto& m : frame.meshes) {
        if (std::find(shown.begin(), shown.end(), m.path) == shown.end()) continue;
        json j = {{"path", m.path}, {"geometry", m.geometry}, {"world", matrix(m.world)}};
        if (m.overrideColor) j["color"] = color(m.color);
        meshes.push_back(std::move(j));
    }
    // Groups are sent as text already made: the frame is put together by hand.
    std::string text = json{
        {"type", "frame"},
        {"panel", frame.panel},
        {"renderer", frame.renderer},
        {"camera", cameraJson(frame.camera)},
        {"background",
         {{"gradient", frame.gradient},
          {"top", color(frame.top)},
          {"bottom", color(frame.bottom)}}},
        {"meshes", meshes}}.dump(-1, ' ', false, json::error_handler_t::replace);
    text.pop_back();  // the closing brace
    text += ",\"groups\":[";
    lastSentGroups_ = 0;
    for (size_t i = 0; i < frame.groups.size(); ++i) {
        if (i) text += ',';
        if (i < groups_.size() && groups_[i] == frame.groups[i]) {
            text += "{\"same\":true}";
        } else {
            text += groupJson(frame.groups[i]);
            ++lastSentGroups_;
        }
    }
    text += "]}";
    groups_ = frame.groups;
    return text;
}

}  // namespace tessark_studio
