// What the page is sent of a frame: each mesh's geometry once per state, in
// the binary layout the page reads, and only the draw list groups that changed.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>

#include "studio/FrameMessages.h"

namespace {

namespace app = ehost::application;
using namespace tessark_studio;
using nlohmann::json;

app::DrawnGroup group(const std::string& name, double x) {
    app::DrawnGroup g;
    g.source = "toolFeedback";
    g.name = name;
    app::DrawnPrimitive p;
    p.kind = "lineStrip";
    p.points = {x, 0, 0, x, 1, 0};
    p.lineStyle = "dashed";
    g.primitives.push_back(p);
    return g;
}

app::DrawnFrame frameWith(std::uint64_t geometry, double x) {
    app::DrawnFrame f;
    f.panel = "modelPanel4";
    f.camera.width = 640;
    f.camera.height = 480;
    app::ShadedMesh m;
    m.path = "|a|aShape";
    m.geometry = geometry;
    m.world[0] = m.world[5] = m.world[10] = m.world[15] = 1;
    f.meshes.push_back(m);
    f.groups = {group("first", 0), group("second", x)};
    return f;
}

struct Fetches {
    int count = 0;
    bool operator()(const std::string& path, app::MeshGeometryRecord& out) {
        ++count;
        if (path != "|a|aShape") return false;
        out.geometry = 9;
        out.points = {0, 0, 0, 1, 0, 0, 0, 1, 0};
        out.triangles = {0, 1, 2};
        out.edges = {0, 1, 1, 2, 2, 0};
        out.polygons = 1;
        return true;
    }
};

std::uint32_t word(const std::string& data, size_t at) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(data[at + k]);
    return v;
}

TEST(StudioFrames, AMeshGoesOnceAsBinaryInThePagesLayout) {
    FrameDiff diff;
    Fetches fetch;
    auto first = diff.update(frameWith(9, 0), std::ref(fetch));
    ASSERT_EQ(first.size(), 2u);
    ASSERT_TRUE(first[0].binary);
    const std::string& data = first[0].data;
    const std::uint32_t length = word(data, 0);
    EXPECT_EQ(length % 4, 0u);
    const json header = json::parse(data.substr(4, length));
    EXPECT_EQ(header, json::parse(R"({"type":"mesh","path":"|a|aShape","geometry":9,"points":3,)"
                                  R"("triangles":1,"edges":3,"polygons":1})"));
    ASSERT_EQ(data.size(), 4 + length + 4 * (9 + 3 + 6));
    float y = 0;
    std::memcpy(&y, data.data() + 4 + length + 7 * 4, 4);
    EXPECT_EQ(y, 1.0f);                                      // the third point's y
    EXPECT_EQ(word(data, 4 + length + 9 * 4 + 4), 1u);       // the triangle's second corner
    EXPECT_EQ(word(data, 4 + length + 12 * 4 + 5 * 4), 0u);  // the last edge's end
    const json frame = json::parse(first[1].data);
    EXPECT_EQ(frame["type"], "frame");
    EXPECT_EQ(frame["meshes"][0]["path"], "|a|aShape");
    EXPECT_EQ(frame["groups"].size(), 2u);
    EXPECT_EQ(frame["groups"][1]["primitives"][0]["lineStyle"], "dashed");
    EXPECT_EQ(frame["camera"]["width"], 640);
    EXPECT_EQ(diff.lastSentGroups(), 2);

    // The same frame again: no geometry, every group the page has already.
    auto again = diff.update(frameWith(9, 0), std::ref(fetch));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(fetch.count, 1);
    EXPECT_EQ(json::parse(again[0].data)["groups"],
              json::parse(R"([{"same":true},{"same":true}])"));
    EXPECT_EQ(diff.lastSentGroups(), 0);
}

TEST(StudioFrames, OnlyWhatChangedIsSentAgain) {
    FrameDiff diff;
    Fetches fetch;
    diff.update(frameWith(9, 0), std::ref(fetch));
    auto moved = diff.update(frameWith(9, 0.5), std::ref(fetch));
    ASSERT_EQ(moved.size(), 1u);
    const json groups = json::parse(moved[0].data)["groups"];
    EXPECT_EQ(groups[0], json::parse(R"({"same":true})"));
    EXPECT_EQ(groups[1]["name"], "second");
    EXPECT_EQ(diff.lastSentGroups(), 1);

    auto edited = diff.update(frameWith(10, 0.5), std::ref(fetch));
    ASSERT_EQ(edited.size(), 2u);
    EXPECT_TRUE(edited[0].binary);
    EXPECT_EQ(fetch.count, 2);

    diff.reset();  // a new page has nothing
    auto whole = diff.update(frameWith(10, 0.5), std::ref(fetch));
    ASSERT_EQ(whole.size(), 2u);
    EXPECT_EQ(diff.lastSentGroups(), 2);
}

TEST(StudioFrames, AMeshThatCannotBeReadIsLeftOut) {
    FrameDiff diff;
    auto out = diff.update(frameWith(9, 0),
                           [](const std::string&, app::MeshGeometryRecord&) { return false; });
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(json::parse(out[0].data)["meshes"].empty());
}

}  // namespace
