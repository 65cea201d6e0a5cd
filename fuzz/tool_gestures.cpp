// The rail tool's state machine (tessark/tool/ToolMachine) driven by random
// gesture sequences, with no host: presses, drags, releases and pointer moves
// with any button, modifiers and view position; ENTER, BACKSPACE, Escape; the
// Undo and ToolChanged callbacks; the context command's edits; and, between
// events, a host that changes under the tool as a real scene does: the
// retopology mesh replaced by another (so that pins and selections go stale),
// the selection dropped, the source gone, surface points that are NaN or
// infinite, span settings out of range, and actions that answer with any
// vertex ids.
//
// The host is the recording fake of the tool's tests (tests/tool/), with the
// parts that a scene would change made to change. Beyond "no crash", the
// machine keeps at most two pins and two magnet points. The input format is
// documented in fuzz/seeds.py, which writes the seed corpus.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

#include "fuzz/ByteReader.h"
#include "tessark/tool/ToolMachine.h"
#include "tests/tool/FakeToolHost.h"

namespace {

using tessark::tool::Button;
using tessark::tool::PointerEvent;
using tessark::tool::ToolMachine;

constexpr std::size_t kMaxEvents = 512;

class ChangingHost : public FakeToolHost {
public:
    ChangingHost() { setGrid(4, 4, 0); }

    //! An nx x ny grid of quads (vertex (i, j) at (i, 0, j), pixel (100 + 20 i,
    //! 100 + 20 j)); a set bit of `holes` leaves that quad out.
    void setGrid(int nx, int ny, std::uint32_t holes) {
        std::vector<geo::Point> positions;
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i) positions.push_back({double(i), 0, double(j)});
        std::vector<std::vector<int>> quads;
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                if (holes & (1u << ((i + nx * j) % 32))) continue;
                const int a = i + (nx + 1) * j;
                quads.push_back({a, a + 1, a + nx + 2, a + nx + 1});
            }
        view_ = geo::makeBorderMeshView(positions, quads);
    }

    enum class Surface { plane, nan, infinite, huge };
    Surface surface = Surface::plane;
    int shadowCount = 0;
    geo::Polyline shadow;
    int u = 12, v = 12, divisions = 1;
    std::vector<int> brushed = {6, 7};

    std::optional<geo::Point> captureSurfacePoint(short x, short y) override {
        auto p = FakeToolHost::captureSurfacePoint(x, y);
        if (!p) return p;
        switch (surface) {
            case Surface::nan:
                p->y = std::numeric_limits<double>::quiet_NaN();
                break;
            case Surface::infinite:
                p->x = std::numeric_limits<double>::infinity();
                break;
            case Surface::huge:
                p->z *= 1e300;
                break;
            case Surface::plane:
                break;
        }
        return p;
    }
    int pickBorderVertex(double radius, short x, short y) override {
        if (!meshSelected) return -1;
        for (int vtx = 0; vtx < static_cast<int>(view_.positions.size()); ++vtx) {
            const geo::Point p = projectToView(view_.positions[vtx]);
            const double dx = p.x - x, dy = p.y - y;
            if (dx * dx + dy * dy >= radius * radius) continue;
            for (int e : view_.edgesAround(vtx))
                if (view_.boundary[static_cast<std::size_t>(e)]) return vtx;
        }
        return -1;
    }
    const geo::BorderMeshView* retopologyView() override { return meshSelected ? &view_ : nullptr; }
    int shadowStrokeCount() override { return shadowCount; }
    geo::Polyline lastShadowStroke() override { return shadow; }
    void clearShadowStrokes() override { shadowCount = 0; }
    geo::Polyline retopologyPositions() override { return view_.positions; }
    std::vector<int> brushSelect(short, short, double) override { return brushed; }
    int uSpans() override { return u; }
    int vSpans() override { return v; }
    int bridgeDivisions() override { return divisions; }

    //! Keeps the log from growing without end over a long sequence.
    void forget() {
        if (log.size() > 256) log.clear();
    }

private:
    geo::BorderMeshView view_;
};

PointerEvent pointer(fuzz::ByteReader& in) {
    PointerEvent e;
    e.x = in.int16();
    e.y = in.int16();
    const std::uint8_t flags = in.byte();
    static constexpr Button buttons[] = {Button::none, Button::left, Button::middle, Button::left};
    e.button = buttons[flags & 3];
    e.modifiers.shift = flags & 4;
    e.modifiers.ctrl = flags & 8;
    return e;
}

//! A byte as a setting: small values as they are, the top ones NaN, infinities, extremes.
double setting(std::uint8_t b) {
    switch (b) {
        case 255:
            return std::numeric_limits<double>::quiet_NaN();
        case 254:
            return std::numeric_limits<double>::infinity();
        case 253:
            return -std::numeric_limits<double>::infinity();
        case 252:
            return std::numeric_limits<double>::max();
        case 251:
            return -1.0;
        default:
            return b / 4.0;
    }
}

int count(std::uint8_t b) {
    switch (b) {
        case 255:
            return std::numeric_limits<int>::max();
        case 254:
            return std::numeric_limits<int>::min();
        default:
            return static_cast<int>(b) - 8;
    }
}

std::vector<int> ids(fuzz::ByteReader& in) {
    std::vector<int> out(in.byte() % 16);
    for (int& id : out) id = count(in.byte());
    return out;
}

//! A left, Shift, Ctrl or middle drag from one position to another.
void stroke(ToolMachine& tool, fuzz::ByteReader& in) {
    PointerEvent from = pointer(in);
    const short x1 = in.int16(), y1 = in.int16();
    const int steps = in.byte() % 64;
    tool.press(from);
    for (int k = 1; k <= steps; ++k) {
        PointerEvent e = from;
        e.x = static_cast<short>(from.x + (x1 - from.x) * k / steps);
        e.y = static_cast<short>(from.y + (y1 - from.y) * k / steps);
        tool.drag(e);
    }
    from.x = x1;
    from.y = y1;
    tool.release(from);
}

void changeHost(ChangingHost& host, fuzz::ByteReader& in) {
    switch (in.byte() % 10) {
        case 0:
            host.surfaceUnderCursor = !host.surfaceUnderCursor;
            break;
        case 1:
            host.meshSelected = !host.meshSelected;
            break;
        case 2: {
            const std::uint8_t b = in.byte();
            host.source = {static_cast<bool>(b & 1), static_cast<bool>(b & 2)};
            break;
        }
        case 3: {
            const int nx = 1 + in.byte() % 8, ny = 1 + in.byte() % 8;
            const std::uint32_t holes = in.byte() | (in.byte() << 8);
            host.setGrid(nx, ny, holes);
            break;
        }
        case 4:
            host.createdRow = ids(in);
            break;
        case 5: {
            host.shadowCount = count(in.byte());
            host.shadow.clear();
            const int n = in.byte() % 12;
            for (int k = 0; k < n; ++k)
                host.shadow.push_back({double(k % 5), 0, double(in.byte() % 6)});
            break;
        }
        case 6:
            host.lastPlayer = !host.lastPlayer;
            break;
        case 7:
            host.u = count(in.byte());
            host.v = count(in.byte());
            host.divisions = count(in.byte());
            break;
        case 8:
            host.surface = static_cast<ChangingHost::Surface>(in.byte() % 4);
            break;
        default: {
            // Stroke sizes that disagree with the points, as a scene file may hold.
            host.strokeSet.sizes.push_back(count(in.byte()));
            host.brushed = ids(in);
            break;
        }
    }
}

//! ContextState's promises: at most two pins and two magnet points.
void expectSelectionsBounded(const tessark::tool::ContextState& state) {
    if (state.playerStart.size() > 2 || state.magnetPoints.size() > 2) {
        std::fprintf(stderr, "tool promise broken: %zu pins, %zu magnet points\n",
                     state.playerStart.size(), state.magnetPoints.size());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader in(data, size);
    ChangingHost host;
    ToolMachine tool(host);
    tool.toolOnSetup();
    for (std::size_t n = 0; n < kMaxEvents && in.more(); ++n) {
        switch (in.byte() % 20) {
            case 0:
                tool.press(pointer(in));
                break;
            case 1:
                tool.drag(pointer(in));
                break;
            case 2:
                tool.release(pointer(in));
                break;
            case 3:
                tool.pointerMoved(pointer(in));
                break;
            case 4:
                stroke(tool, in);
                break;
            case 5:
                tool.completeAction();
                break;
            case 6:
                tool.deleteAction();
                break;
            case 7:
                tool.abortAction();
                break;
            case 8:
                tool.drawFeedback(in.byte() & 1);
                break;
            case 9:
                tool.onUndo();
                break;
            case 10:
                tool.onToolChanged();
                break;
            case 11:
                tool.refreshPlayer();
                break;
            case 12:
                tool.rebuildPlayer();
                break;
            case 13: {
                const double radius = setting(in.byte());
                tool.enterBrushMode(radius, setting(in.byte()));
                break;
            }
            case 14:
                tool.toolOffCleanup();
                break;
            case 15:
                tool.toolOnSetup();
                break;
            case 16:
                tool.adoptPlayer(ids(in));
                break;
            case 17:
                tool.resetPlayer();
                break;
            default:
                changeHost(host, in);
                break;
        }
        expectSelectionsBounded(tool.state());
        host.forget();
    }
    tool.toolOffCleanup();
    return 0;
}
