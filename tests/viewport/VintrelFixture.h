#pragma once
// A host session with the Vintrel plug-in loaded from the build's plug-in
// directory and the default panel drawn through its render override, plus
// what the tests read back: the override's parameters and the active panel's
// last frame.

#include <gmock/gmock.h>

#include <maya/MCommandResult.h>
#include <maya/MDagPath.h>
#include <maya/MFnDagNode.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MSelectionList.h>
#include <maya/MViewport2Renderer.h>

#include <optional>
#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/plugin/Plugins.h"
#include "host/src/plugin/Refusal.h"
#include "host/src/session/Session.h"
#include "host/src/view/DrawList.h"
#include "host/src/view/Panel.h"
#include "host/src/view/RenderOverrides.h"
#include "host/src/view/Views.h"
#include "viewport/MHUDRenderTester.h"
#include "viewport/MRenderOverrideTester.h"
#include "viewport/MSceneRenderTester.h"
#include "viewport/MUserRenderOperationTester.h"

inline constexpr const char* kVintrel = "Vintrel_2020";

class VintrelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ehost::startIsolatedSession();
        ehost::session().newScene();
        ehost::session().messages().echo = false;
        ehost::session().messages().clear();
        ehost::clearRefusals();
        for (const char* name : kPreferences) MGlobal::removeOptionVar(name);
        if (!ehost::isPluginLoaded(kVintrel)) {
            MStatus st = ehost::loadPlugin(kVintrel);
            ASSERT_TRUE(st) << st.errorString();
        }
        // Every test starts from the parameters of a fresh override.
        ASSERT_TRUE(run("PlexwendViewport -uu 1 -sf 0"));
        ASSERT_TRUE(run("viewPlace -eye 0 0 20 -lookAt 0 0 0 persp"));
        ASSERT_TRUE(run("modelEditor -e -rendererOverrideName PlexwendViewport modelPanel4"));
    }
    void TearDown() override {
        ehost::clearRefusals();
        ehost::session().newScene();
        ehost::session().messages().echo = true;
    }

    static constexpr const char* kPreferences[] = {
        "kvCutMeshName", "kvCutSurfCr", "kvCutSurfCg", "kvCutSurfCb", "kvCutSa", "kvCutLineCr",
        "kvCutLineCg",   "kvCutLineCb", "kvCutLw",     "kvCutDp",     "kvCutBf"};

    bool run(const std::string& text) { return ehost::runCommands(text, {false, true}); }
    std::string lastError() const {
        const auto& e = ehost::session().messages().entries();
        for (auto it = e.rbegin(); it != e.rend(); ++it)
            if (it->kind == ehost::MessageLog::Kind::Error) return it->text;
        return "";
    }
    unsigned long long errorCount() const { return ehost::session().messages().errorCount(); }

    //! The override the loaded module registered, as the module's own class.
    static const MRenderOverrideTester* override() {
        const MHWRender::MRenderOverride* found =
            MHWRender::MRenderer::theRenderer()->findRenderOverride("PlexwendViewport");
        // The module and this test build the class from the same sources.
        return static_cast<const MRenderOverrideTester*>(found);
    }
    static const OverrideParameters& parameters() { return override()->parameters(); }

    static const ehost::Frame& frame() { return ehost::session().views().activePanel().frame; }
    static std::vector<const ehost::Drawable*> drawables(ehost::Drawable::Source source) {
        std::vector<const ehost::Drawable*> out;
        for (const ehost::Drawable& d : frame().drawables)
            if (d.source == source) out.push_back(&d);
        return out;
    }
    //! The overlay's primitives of the last frame, in draw order.
    static std::vector<ehost::Primitive> overlay() {
        std::vector<ehost::Primitive> out;
        for (const ehost::Drawable* d : drawables(ehost::Drawable::Source::UserOperation))
            out.insert(out.end(), d->primitives.begin(), d->primitives.end());
        return out;
    }
    //! A copy: the lists it is taken from are often temporaries.
    static std::optional<ehost::Primitive> first(const std::vector<ehost::Primitive>& all,
                                                 ehost::PrimitiveKind kind) {
        for (const auto& p : all)
            if (p.kind == kind) return p;
        return std::nullopt;
    }
    static std::vector<std::string> shadedShapes() {
        std::vector<std::string> out;
        for (const auto& s : frame().shapes) out.push_back(s.shape->name);
        return out;
    }

    //! A mesh under a transform `name` (shape `name`Shape) from world points
    //! and polygons given by their vertex ids.
    static MObject makeMesh(const std::string& name, const std::vector<MPoint>& points,
                            const std::vector<std::vector<int>>& polygons) {
        MPointArray positions;
        for (const MPoint& p : points) positions.append(p);
        MIntArray counts, connects;
        for (const auto& polygon : polygons) {
            counts.append(static_cast<int>(polygon.size()));
            for (int id : polygon) connects.append(id);
        }
        MFnMesh fn;
        MStatus status;
        MObject transform = fn.create(positions.length(), counts.length(), positions, counts,
                                      connects, MObject::kNullObj, &status);
        EXPECT_TRUE(status) << status.errorString();
        MFnDagNode t(transform);
        MFnDagNode(t.child(0)).setName((name + "Shape").c_str());
        t.setName(name.c_str());
        return transform;
    }
    //! A 2 x 2 quad in z = 0 centred on the origin, facing +z (towards the
    //! default eye at z = 20, where backFacing gives -80).
    static void makeQuad(const std::string& name = "quad") {
        makeMesh(name, {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}, {{0, 1, 2, 3}});
    }
};
