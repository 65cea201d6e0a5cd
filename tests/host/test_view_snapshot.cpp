// Snapshots: what a panel shows written as PNG or SVG — the background, the
// shaded meshes with their wireframe, the recorded UI drawing with X-ray on
// top — and the errors for paths that cannot be written.

#include <cairo.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "host/src/view/Snapshot.h"
#include "tests/host/test_view_helpers.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using viewtest::ProbeDrawOverride;
using viewtest::ViewTest;
using UI = MHWRender::MUIDrawManager;

struct Rgb {
    int r, g, b;
};

//! A decoded PNG.
class Image {
public:
    explicit Image(const fs::path& file)
        : surface_(cairo_image_surface_create_from_png(file.c_str())) {}
    ~Image() { cairo_surface_destroy(surface_); }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface_); }
    int height() const { return cairo_image_surface_get_height(surface_); }
    //! The pixel at view position (x, y), origin bottom left.
    Rgb at(int x, int y) const {
        cairo_surface_flush(surface_);
        const unsigned char* row = cairo_image_surface_get_data(surface_) +
                                   (height() - 1 - y) * cairo_image_surface_get_stride(surface_);
        uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
        return {static_cast<int>((v >> 16) & 0xff), static_cast<int>((v >> 8) & 0xff),
                static_cast<int>(v & 0xff)};
    }
    size_t distinctColours() const {
        std::set<uint32_t> seen;
        cairo_surface_flush(surface_);
        for (int y = 0; y < height(); ++y) {
            auto* row =
                reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface_) +
                                                  y * cairo_image_surface_get_stride(surface_));
            for (int x = 0; x < width(); ++x) seen.insert(row[x] & 0xffffff);
        }
        return seen.size();
    }

private:
    cairo_surface_t* surface_;
};

class SnapshotTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        dir_ = fs::temp_directory_path() / ("tessark_view_snapshots_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        // Kept for a person to look at when TESSARK_KEEP_SNAPSHOTS is set.
        if (!std::getenv("TESSARK_KEEP_SNAPSHOTS")) fs::remove_all(dir_);
        ViewTest::TearDown();
    }
    fs::path file(const std::string& name) const { return dir_ / name; }
    fs::path dir_;
};

bool near(const Rgb& c, int r, int g, int b, int tol = 8) {
    return std::abs(c.r - r) <= tol && std::abs(c.g - g) <= tol && std::abs(c.b - b) <= tol;
}

TEST_F(SnapshotTest, ASphereIsShadedOverTheGradientWithItsWireframe) {
    ASSERT_TRUE(run("polySphere -r 5 -n ball"));
    ASSERT_TRUE(run("viewPlace -eye 0 6 24 -lookAt 0 0 0 persp"));
    fs::path png = file("sphere.png");
    EXPECT_EQ(result("hostView -snapshot \"" + png.string() + "\""), png.string());
    Image image(png);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image.width(), 640);
    EXPECT_EQ(image.height(), 480);
    EXPECT_GT(image.distinctColours(), 200u);  // gradient, shading, anti-aliased edges

    // The background runs from the light top to the dark bottom.
    Rgb top = image.at(600, 479), bottom = image.at(600, 0);
    EXPECT_GT(top.b, 150);
    EXPECT_LT(bottom.b, 40);
    // The sphere's middle faces the camera: a light grey, unlike the background there.
    Rgb middle = image.at(320, 240);
    EXPECT_GT(middle.r, 110);
    EXPECT_NEAR(middle.r, middle.g, 6);
    EXPECT_LT(std::abs(middle.b - middle.r), 12);
    // Wireframe: somewhere on a row through the sphere a much darker pixel.
    int darkest = 255;
    for (int x = 250; x < 390; ++x) darkest = std::min(darkest, image.at(x, 240).r);
    EXPECT_LT(darkest, middle.r - 40);
    // No leftover from writing aside.
    EXPECT_FALSE(fs::exists(png.string() + ".partial"));
}

TEST_F(SnapshotTest, UiDrawingIsDrawnInOrderWithXrayOnTop) {
    registerProbeLocator();
    ProbeDrawOverride::drawing = [](UI& d, const MHWRender::MFrameContext&) {
        d.beginDrawable();
        d.beginDrawInXray();
        d.setColor(MColor(1.0f, 0.0f, 0.0f));
        d.circle2d(MPoint(100, 100), 20, true);  // X-ray first ...
        d.endDrawInXray();
        d.setColor(MColor(0.0f, 0.0f, 1.0f));
        d.circle2d(MPoint(100, 100), 20, true);  // ... still on top of this later one
        d.circle2d(MPoint(300, 100), 20, true);
        d.setColor(MColor(0.0f, 1.0f, 0.0f));
        d.circle2d(MPoint(300, 100), 10, true);  // later on top without X-ray
        d.setLineWidth(4);
        d.setColor(MColor(1.0f, 1.0f, 0.0f));
        d.line2d(MPoint(400, 300), MPoint(600, 300));
        d.setFontSize(24);
        d.setColor(MColor(1.0f, 1.0f, 1.0f));
        d.text2d(MPoint(20, 440), "Tessark activated");
        d.endDrawable();
    };
    ASSERT_TRUE(run("createNode transform -n probe; createNode viewProbe -n probeShape -p probe"));
    fs::path png = file("ui.png");
    ASSERT_TRUE(run("hostView -snapshot \"" + png.string() + "\" modelPanel4"));
    Image image(png);
    ASSERT_TRUE(image.ok());
    EXPECT_TRUE(near(image.at(100, 100), 255, 0, 0));
    EXPECT_TRUE(near(image.at(300, 100), 0, 255, 0));
    EXPECT_TRUE(near(image.at(300, 115), 0, 0, 255));
    EXPECT_TRUE(near(image.at(500, 300), 255, 255, 0));
    EXPECT_FALSE(near(image.at(500, 310), 255, 255, 0));
    int bright = 0;
    for (int x = 20; x < 200; ++x)
        for (int y = 438; y < 458; ++y)
            if (image.at(x, y).r > 240 && image.at(x, y).b > 240) ++bright;
    EXPECT_GT(bright, 100);  // the text's strokes
}

TEST_F(SnapshotTest, RenderOverrideBackgroundAndOverlayAppear) {
    auto& override = registerProbeOverride();
    override.user.lines.append(-5, 0, 0);
    override.user.lines.append(5, 0, 0);
    ASSERT_TRUE(run("modelEditor -e -rendererOverrideName probeOverride modelPanel4"));
    ASSERT_TRUE(run("viewPlace -eye 0 0 10 -lookAt 0 0 0 -fov 90 persp"));
    fs::path png = file("override.png");
    ASSERT_TRUE(run("hostView -snapshot \"" + png.string() + "\""));
    Image image(png);
    ASSERT_TRUE(image.ok());
    EXPECT_TRUE(near(image.at(600, 400), 26, 51, 77, 2));  // the flat clear colour (0.1, 0.2, 0.3)
    Rgb line = image.at(400, 240);                         // translucent blue over it
    EXPECT_GT(line.b, 100);
}

TEST_F(SnapshotTest, SvgIsWrittenByExtension) {
    ASSERT_TRUE(run("polyCube -w 4 -h 4 -d 4"));
    fs::path svg = file("cube.SVG");
    ASSERT_TRUE(run("hostView -snapshot \"" + svg.string() + "\""));
    std::ifstream in(svg);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_THAT(text.str(), HasSubstr("<svg"));
    EXPECT_THAT(text.str(), HasSubstr("width=\"640"));
}

TEST_F(SnapshotTest, PathsThatCannotBeWrittenAreRefusedAndLeaveFilesAlone) {
    EXPECT_FALSE(run("hostView -snapshot \"" + file("picture.jpg").string() + "\""));
    EXPECT_THAT(lastError(), HasSubstr("must end in .png or .svg"));
    EXPECT_FALSE(run("hostView -snapshot \"" + (dir_ / "missing" / "a.png").string() + "\""));
    EXPECT_THAT(lastError(), HasSubstr("does not exist"));
    fs::create_directories(dir_ / "taken.png");
    EXPECT_FALSE(run("hostView -snapshot \"" + (dir_ / "taken.png").string() + "\""));
    EXPECT_THAT(lastError(), HasSubstr("names no file"));
    EXPECT_FALSE(run("hostView -snapshot \"" + file("x.png").string() + "\" noPanel"));
    EXPECT_THAT(lastError(), HasSubstr("no panel named \"noPanel\""));
    EXPECT_FALSE(fs::exists(file("x.png")));

    // A directory that cannot be written: the earlier file stays as it was.
    fs::path locked = dir_ / "locked";
    fs::create_directories(locked);
    fs::path png = locked / "keep.png";
    ASSERT_TRUE(run("hostView -snapshot \"" + png.string() + "\""));
    auto size = fs::file_size(png);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(locked.c_str(), W_OK) != 0) {  // not when running as root
        ASSERT_TRUE(run("polySphere"));
        EXPECT_FALSE(run("hostView -snapshot \"" + png.string() + "\""));
        EXPECT_THAT(lastError(), HasSubstr("cannot write snapshot"));
        EXPECT_EQ(fs::file_size(png), size);
    }
    fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(SnapshotTest, APanelNeverDrawnHasNothingToWrite) {
    ehost::Panel& panel = activePanel();
    MStatus st = ehost::writeSnapshot(panel, file("early.png").string());
    EXPECT_FALSE(st);
    EXPECT_THAT(st.errorString().str(), HasSubstr("has not been drawn"));
    ASSERT_TRUE(views().refresh(panel));
    EXPECT_TRUE(ehost::writeSnapshot(panel, file("early.png").string()));
}

}  // namespace
