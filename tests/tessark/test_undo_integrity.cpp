// Undo integrity under random sessions: random but valid gesture sequences
// (strokes and ENTER, pins and grown patches, paths, redraws, span changes,
// bridges, welds, magnet merges, relax, the brush, BACKSPACE, Escape, bursts
// of undo and redo) are played through the command layer on a bumpy surface.
// After every step the retopology mesh must be sound; at the end, undoing
// everything must give back the first saved scene byte for byte, and redoing
// everything the last one.
//
// Each seed prints itself. To replay or to run longer:
//   TESSARK_UNDO_SEEDS=17 build/bin/tests_tessark --gtest_filter='UndoIntegrity*'
//   TESSARK_UNDO_SEEDS=1-200 TESSARK_UNDO_STEPS=80 build/bin/tests_tessark
//   --gtest_filter='UndoIntegrity*'
// TESSARK_UNDO_KEEP=DIR keeps the saved scenes of the last seed in DIR.

#include <maya/M3dView.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MPointArray.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "tests/tessark/Surfaces.h"
#include "tests/tessark/TessarkFixture.h"

namespace {

namespace fs = std::filesystem;

// The layout, in world units on the ground (x across, z along the strokes):
// columns of one unit, rows of 2.4 with a gap of 0.25 between them, so that
// vertical neighbours can be welded or caught by a magnet, and horizontal
// ones grown into or bridged.
constexpr int kColumns = 7;
constexpr int kRows = 3;
constexpr double kInset = 0.12;  // rails sit this far inside their column
double columnX(int c) {
    return -3.5 + c;
}
double rowZ0(int r) {
    return -3.9 + r * 2.65;
}
double rowZ1(int r) {
    return rowZ0(r) + 2.4;
}

struct Slot {
    bool used = false;
    bool seam = false;  // filled by a bridge or a path: its rails are not where a new patch's are
};

class UndoIntegrityTest : public TessarkTest {
protected:
    void SetUp() override {
        TessarkTest::SetUp();
        // TESSARK_UNDO_KEEP=DIR keeps the saved scenes there, to compare them.
        const char* keep = std::getenv("TESSARK_UNDO_KEEP");
        keep_ = keep && *keep;
        dir_ = keep_ ? fs::path(keep)
                     : fs::temp_directory_path() / ("tessark-undo-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        if (!keep_) fs::remove_all(dir_, ec);
        TessarkTest::TearDown();
    }

    void setUpScene() {
        ehost::session().newScene();
        makeBumpyGround("ground");
        ASSERT_TRUE(
            run("createNode Tessark -n rail; connectAttr groundShape.outMesh rail.TessarkMesh"));
        ASSERT_TRUE(run("hostView -size 960 720"));
        ASSERT_TRUE(run("viewPlace -eye 0 13 0.001 -lookAt 0 0 0 -up 0 0 -1 persp"));
        // Contexts outlive scenes: each session makes its own.
        ctx_ = "tc" + std::to_string(++sessions_);
        ASSERT_TRUE(run("TessarkContext " + ctx_ + "; setToolTo " + ctx_ + "; select -cl"));
        ASSERT_TRUE(run("undoInfo -length 100000; undoInfo -flush"));
        for (auto& row : slots_) row.fill(Slot());
        exempt_.clear();
        last_ = {};
    }

    // ------------------------------------------------------------ the pixels

    static std::pair<int, int> pixelOf(const MPoint& p) {
        short x = 0, y = 0;
        M3dView::active3dView().worldToView(p, x, y);
        return {x, y};
    }
    static MPoint ground(double x, double z) { return MPoint(x, bump(x, z), z); }

    //! The retopology mesh, if there is one.
    static bool retopology(MFnMesh& fn) {
        MSelectionList list;
        MDagPath path;
        if (!list.add("kvMeshShape") || !list.getDagPath(0, path)) return false;
        return static_cast<bool>(fn.setObject(path));
    }
    //! The pixel of the retopology vertex nearest a world point (the point's own without a mesh).
    std::pair<int, int> vertexPixel(const MPoint& target) {
        MFnMesh fn;
        if (!retopology(fn)) return pixelOf(target);
        MPointArray points;
        fn.getPoints(points, MSpace::kWorld);
        double best = 1e300;
        MPoint at = target;
        for (unsigned i = 0; i < points.length(); ++i) {
            double d = points[i].distanceTo(target);
            if (d < best) best = d, at = points[i];
        }
        return pixelOf(at);
    }

    static std::string strokeText(double x0, double z0, double x1, double z1, int samples = 40) {
        std::ostringstream out;
        for (int i = 0; i <= samples; ++i) {
            double t = static_cast<double>(i) / samples;
            auto [px, py] = pixelOf(ground(x0 + (x1 - x0) * t, z0 + (z1 - z0) * t));
            out << px << " " << py << " ";
        }
        return out.str();
    }
    void stroke(double x0, double z0, double x1, double z1, const std::string& mods = "") {
        play("hostInput " + mods + " -st \"" + strokeText(x0, z0, x1, z1) + "\"");
    }
    void click(const std::string& button, const std::string& mods, std::pair<int, int> at) {
        const std::string where =
            " -x " + std::to_string(at.first) + " -y " + std::to_string(at.second);
        play("hostInput -p -b " + button + " " + mods + where);
        play("hostInput -r -b " + button + " " + mods + where);
    }
    void pin(const MPoint& corner) { click("left", "-sh -ct", vertexPixel(corner)); }

    //! Runs a step's command; a refusal is fine (the tool says why), a crash is not.
    void play(const std::string& text) {
        log_ << text.substr(0, 160) << "\n";
        run(text);
    }

    // ------------------------------------------------------------ the actions

    struct Last {
        bool patch = false;  // the last action left a patch whose right border can be grown from
        int row = 0, column = 0;
        double rightX = 0;
    };

    int randomIn(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }

    bool freeForPatch(int r, int c) const {
        if (slots_[r][c].used) return false;
        if (c > 0 && slots_[r][c - 1].used) return false;
        if (c + 1 < kColumns && slots_[r][c + 1].used) return false;
        return true;
    }

    void newPatch() {
        std::vector<std::pair<int, int>> free;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
                if (freeForPatch(r, c)) free.push_back({r, c});
        if (free.empty()) return;
        auto [r, c] = free[randomIn(0, static_cast<int>(free.size()) - 1)];
        play("hostInput -k escape");
        play("TessarkContext -e -u " + std::to_string(randomIn(2, 6)) + " -v " +
             std::to_string(randomIn(1, 4)) + " " + ctx_);
        const double x0 = columnX(c) + kInset, x1 = columnX(c + 1) - kInset;
        stroke(x0, rowZ0(r), x0, rowZ1(r));
        stroke(x1, rowZ0(r), x1, rowZ1(r));
        play("hostInput -k enter");
        slots_[r][c].used = true;
        last_ = {true, r, c, x1};
    }

    //! Pins on the right border of the last patch, then a stroke or a Shift path to the next
    //! column.
    void growOrPath(bool path) {
        if (!last_.patch || last_.column + 1 >= kColumns) return;
        const int r = last_.row, c = last_.column + 1;
        if (slots_[r][c].used || (c + 1 < kColumns && slots_[r][c + 1].used)) return;
        play("hostInput -k escape");
        pin(ground(last_.rightX, rowZ0(r)));
        pin(ground(last_.rightX, rowZ1(r)));
        const double x = columnX(c + 1) - kInset;
        if (path) {
            const double z = (rowZ0(r) + rowZ1(r)) / 2;
            stroke(last_.rightX, z, x, z, "-sh");
        } else {
            stroke(x, rowZ0(r), x, rowZ1(r));
        }
        slots_[r][c].used = true;
        slots_[r][c].seam = path;
        last_ = {!path, r, c, x};
        if (chance(0.4)) {
            // A redraw of the far side, a little off where it was.
            const double rx = x - 0.08;
            stroke(rx, rowZ0(r), rx, rowZ1(r), "-ct");
            last_.patch = false;
        }
    }

    void bridge() {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c + 2 < kColumns; ++c) {
                if (!slots_[r][c].used || slots_[r][c + 1].used || !slots_[r][c + 2].used) continue;
                if (slots_[r][c].seam || slots_[r][c + 2].seam) continue;
                play("hostInput -k escape");
                const double from = columnX(c + 1) - kInset, to = columnX(c + 2) + kInset;
                pin(ground(from, rowZ0(r)));
                pin(ground(from, rowZ1(r)));
                click("middle", "", vertexPixel(ground(to, rowZ0(r))));
                play("hostInput -k enter");
                slots_[r][c + 1].used = slots_[r][c + 1].seam = true;
                last_.patch = false;
                exemptOffSurface();
                return;
            }
    }

    //! Joins a patch to the one below it: a weld of the borders, or a magnet on a corner.
    void joinBelow(bool weld) {
        for (int r = 0; r + 1 < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                if (!slots_[r][c].used || !slots_[r + 1][c].used) continue;
                if (slots_[r][c].seam || slots_[r + 1][c].seam) continue;
                if (!chance(0.5)) continue;
                play("hostInput -k escape");
                const double x0 = columnX(c) + kInset, x1 = columnX(c + 1) - kInset;
                if (weld) {
                    pin(ground(x0, rowZ1(r)));
                    pin(ground(x1, rowZ1(r)));
                    click("middle", "-sh", vertexPixel(ground(x0, rowZ0(r + 1))));
                    play("hostInput -k enter");
                } else {
                    auto [ax, ay] = vertexPixel(ground(x0, rowZ1(r)));
                    auto [bx, by] = vertexPixel(ground(x0, rowZ0(r + 1)));
                    play("hostInput -p -b middle -x " + std::to_string(ax) + " -y " +
                         std::to_string(ay));
                    play("hostInput -d -b middle -x " + std::to_string(bx) + " -y " +
                         std::to_string(by));
                    play("hostInput -r -b middle -x " + std::to_string(bx) + " -y " +
                         std::to_string(by));
                }
                slots_[r][c].seam = slots_[r + 1][c].seam = true;
                last_.patch = false;
                return;
            }
    }

    void brush() {
        std::vector<std::pair<int, int>> used;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
                if (slots_[r][c].used) used.push_back({r, c});
        if (used.empty()) return;
        auto [r, c] = used[randomIn(0, static_cast<int>(used.size()) - 1)];
        play("TessarkContext -e -rb 1 -rad 30 -i 0.25 " + ctx_);
        const double x = columnX(c) + 0.5;
        stroke(x, rowZ0(r) + 0.3, x, rowZ1(r) - 0.3);
        play("TessarkContext -e -rb 0 " + ctx_);
    }

    void step() {
        const int kind = randomIn(0, 13);
        switch (kind) {
            case 0:
            case 1:
            case 2:
                newPatch();
                break;
            case 3:
                growOrPath(false);
                break;
            case 4:
                growOrPath(true);
                break;
            case 5:
                bridge();
                break;
            case 6:
                joinBelow(true);
                break;
            case 7:
                joinBelow(false);
                break;
            case 8:
                if (last_.patch) {
                    play("TessarkCmd -u " + std::to_string(randomIn(2, 6)) + " -v " +
                         std::to_string(randomIn(1, 4)));
                }
                break;
            case 9:
                play("TessarkCmd -r 1");
                break;
            case 10:
                brush();
                break;
            case 11: {
                // A stroke drawn and taken back with BACKSPACE changes nothing.
                const double x = columnX(randomIn(0, kColumns - 1)) + 0.5;
                stroke(x, rowZ0(0), x, rowZ1(0));
                play("hostInput -k backspace");
                break;
            }
            case 12:
                play("hostInput -k escape");
                break;
            case 13: {
                // A burst of undo, checked on the way, then everything redone.
                const int n = randomIn(1, 3);
                int undone = 0;
                for (int i = 0; i < n; ++i) {
                    if (!run("undo")) break;
                    ++undone;
                    checkMesh("after an undo");
                }
                for (int i = 0; i < undone; ++i) ASSERT_TRUE(run("redo")) << lastError();
                play("hostInput -k escape");
                break;
            }
        }
    }

    // ------------------------------------------------------------ the checks

    static std::tuple<long, long, long> key(const MPoint& p) {
        return {std::lround(p.x * 1e5), std::lround(p.y * 1e5), std::lround(p.z * 1e5)};
    }

    //! Bridges run their middle rows straight between the borders: those
    //! points are off the surface until the brush takes them onto it.
    void exemptOffSurface() {
        MFnMesh fn, source;
        if (!retopology(fn)) return;
        MPointArray points;
        fn.getPoints(points, MSpace::kWorld);
        for (unsigned i = 0; i < points.length(); ++i)
            if (distanceToSource(points[i]) > kOnSurface) exempt_.insert(key(points[i]));
    }

    static constexpr double kOnSurface = 1e-3;

    static double distanceToSource(const MPoint& p) {
        MSelectionList list;
        MDagPath path;
        list.add("groundShape");
        list.getDagPath(0, path);
        MFnMesh source(path);
        MPoint near;
        source.getClosestPoint(p, near, MSpace::kWorld);
        return p.distanceTo(near);
    }

    void checkMesh(const char* when) {
        MFnMesh fn;
        if (!retopology(fn)) return;
        SCOPED_TRACE(when);
        const int nv = fn.numVertices(), nf = fn.numPolygons();
        const auto journal = ehost::theCommands().undoQueue.journal();
        log_ << "   (" << nf << " faces, " << nv << " vertices, " << journal.size()
             << " undo steps, the last " << (journal.empty() ? "" : journal.back().substr(0, 60))
             << ")\n";
        MPointArray points;
        fn.getPoints(points, MSpace::kWorld);
        ASSERT_EQ(static_cast<int>(points.length()), nv);
        std::set<std::vector<int>> faces;
        std::map<std::pair<int, int>, int> edgeUse;
        for (int f = 0; f < nf; ++f) {
            MIntArray ids;
            fn.getPolygonVertices(f, ids);
            std::vector<int> v(ids.length());
            for (unsigned k = 0; k < ids.length(); ++k) {
                v[k] = ids[k];
                ASSERT_TRUE(v[k] >= 0 && v[k] < nv)
                    << "face " << f << " names vertex " << v[k] << " of " << nv << "\n"
                    << log_.str();
            }
            ASSERT_GE(v.size(), 3u) << "face " << f;
            std::vector<int> sorted = v;
            std::sort(sorted.begin(), sorted.end());
            ASSERT_TRUE(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end())
                << "face " << f << " uses a vertex twice\n"
                << log_.str();
            ASSERT_TRUE(faces.insert(sorted).second) << "face " << f << " is there twice\n"
                                                     << log_.str();
            MVector area(0, 0, 0);
            for (size_t k = 1; k + 1 < v.size(); ++k)
                area += (points[v[k]] - points[v[0]]) ^ (points[v[k + 1]] - points[v[0]]);
            ASSERT_GT(area.length(), 1e-8) << "face " << f << " has no area\n" << log_.str();
            for (size_t k = 0; k < v.size(); ++k) {
                int a = v[k], b = v[(k + 1) % v.size()];
                ++edgeUse[{std::min(a, b), std::max(a, b)}];
            }
        }
        for (const auto& [edge, users] : edgeUse)
            ASSERT_LE(users, 2) << "edge " << edge.first << "-" << edge.second << " has " << users
                                << " faces\n"
                                << log_.str();
        for (int i = 0; i < nv; ++i) {
            if (exempt_.count(key(points[i]))) continue;
            const double d = distanceToSource(points[i]);
            ASSERT_LE(d, kOnSurface) << "vertex " << i << " is " << d << " off the surface\n"
                                     << log_.str();
        }
    }

    //! The scene as saved after the tool's reset. The rail node's gesture
    //! flags (the fusion preview's kind, the close flag, the lock ENTER sets)
    //! follow presses and keys, not undo steps: they are put to their
    //! defaults first, outside the undo queue.
    std::string savedScene(const std::string& name) {
        play("hostInput -k escape");
        MFnDependencyNode rail(node("rail"));
        rail.findPlug("mode", true).setValue(true);
        rail.findPlug("close", true).setValue(false);
        rail.findPlug("locked", true).setValue(true);
        const fs::path file = dir_ / name;
        EXPECT_TRUE(run("file -rename \"" + file.string() + "\"; file -save")) << lastError();
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void playSession(unsigned seed, int steps) {
        rng_.seed(seed);
        log_.str("");
        setUpScene();
        const std::string first = savedScene("first.tsk");
        ASSERT_FALSE(first.empty());
        for (int i = 0; i < steps; ++i) {
            log_ << "-- step " << i << "\n";
            step();
            if (HasFatalFailure()) return;
            checkMesh("after a step");
            if (HasFatalFailure()) return;
        }
        const std::string last = savedScene("last.tsk");
        const size_t actions = ehost::theCommands().undoQueue.undoable();
        std::map<std::string, int> kinds;
        for (const std::string& text : ehost::theCommands().undoQueue.journal())
            ++kinds[text.substr(0, text.find(' ', text.find(' ') + 1))];
        std::printf("  %zu undo steps:", actions);
        for (const auto& [kind, n] : kinds) std::printf(" %s x%d,", kind.c_str(), n);
        std::printf("\n");
        log_ << "-- the undo queue:\n";
        for (const std::string& text : ehost::theCommands().undoQueue.journal())
            log_ << text.substr(0, 160) << "\n";
        for (size_t i = 0; i < actions; ++i) {
            ASSERT_TRUE(run("undo")) << lastError();
            checkMesh("while undoing everything");
            if (HasFatalFailure()) return;
        }
        EXPECT_TRUE(savedScene("undone.tsk") == first)
            << "undoing all " << actions << " steps does not give back the first scene\n"
            << log_.str();
        for (size_t i = 0; i < actions; ++i) {
            ASSERT_TRUE(run("redo")) << lastError();
            checkMesh("while redoing everything");
            if (HasFatalFailure()) return;
        }
        EXPECT_TRUE(savedScene("redone.tsk") == last)
            << "redoing all " << actions << " steps does not give back the last scene\n"
            << log_.str();
    }

    //! "7", "1-20" or "3,9,12"; the fixed set when unset.
    static std::vector<unsigned> seeds() {
        const char* text = std::getenv("TESSARK_UNDO_SEEDS");
        if (!text || !*text) return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        std::vector<unsigned> out;
        std::stringstream in(text);
        std::string part;
        while (std::getline(in, part, ',')) {
            const auto dash = part.find('-');
            const unsigned lo = std::stoul(part.substr(0, dash));
            const unsigned hi = dash == std::string::npos ? lo : std::stoul(part.substr(dash + 1));
            for (unsigned s = lo; s <= hi; ++s) out.push_back(s);
        }
        return out;
    }
    static int steps() {
        const char* text = std::getenv("TESSARK_UNDO_STEPS");
        return text && *text ? std::atoi(text) : 30;
    }

    fs::path dir_;
    bool keep_ = false;
    std::string ctx_;
    int sessions_ = 0;
    std::mt19937 rng_;
    std::array<std::array<Slot, kColumns>, kRows> slots_;
    std::set<std::tuple<long, long, long>> exempt_;
    Last last_;
    std::ostringstream log_;
};

TEST_F(UndoIntegrityTest, RandomSessionsUndoAndRedoToTheSavedScenesByteForByte) {
    for (unsigned seed : seeds()) {
        std::printf("undo integrity: seed %u, %d steps\n", seed, steps());
        std::fflush(stdout);
        SCOPED_TRACE("seed " + std::to_string(seed) +
                     " (replay: TESSARK_UNDO_SEEDS=" + std::to_string(seed) + ")");
        playSession(seed, steps());
        if (HasFatalFailure()) return;
    }
}

}  // namespace
