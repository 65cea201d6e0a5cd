// The geometry core on strokes no tool would draw: NaN, infinities, -0,
// huge and tiny coordinates, repeated points, empty and one-point strokes,
// stroke sets whose sizes disagree with their points, meshes with faces on
// unknown vertices, and out-of-range ids everywhere. Each input is a
// sequence of operations; the counts it may ask for are bounded so that a
// run stays in memory and in time (the core's own bounds, such as the
// 100000 passes of a closed-stroke search, are what they are).
//
// Beyond "no crash, no sanitizer report", the documented promises are
// checked: resampling gives at most spans + 2 points, the stroke-set
// operations leave consistent sets, and every polygon a builder adds names
// vertices the sink has.

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "fuzz/ByteReader.h"
#include "geometry/border_walk.h"
#include "geometry/bridge.h"
#include "geometry/densify.h"
#include "geometry/overlay.h"
#include "geometry/patch_arrays.h"
#include "geometry/polygon_mesh.h"
#include "geometry/rail_grid.h"
#include "geometry/resample.h"
#include "geometry/spatial_hash.h"
#include "geometry/stroke_set.h"

namespace {

using geo::Point;
using geo::Polyline;

[[noreturn]] void broken(const std::string& promise) {
    std::fprintf(stderr, "geometry promise broken: %s\n", promise.c_str());
    std::abort();
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : in_(data, size) {}

    bool more() const { return in_.more(); }
    template <class T>
    T integer(T low, T high) {
        return in_.integer<T>(low, high);
    }
    bool flag() { return in_.flag(); }

    //! A selector byte, then for most selectors the value itself (fuzz/seeds.py writes them).
    double value() {
        constexpr double inf = std::numeric_limits<double>::infinity();
        switch (in_.byte()) {
            case 0:
                return std::numeric_limits<double>::quiet_NaN();
            case 1:
                return inf;
            case 2:
                return -inf;
            case 3:
                return 0.0;
            case 4:
                return -0.0;
            case 5:
                return std::numeric_limits<double>::max();
            case 6:
                return -std::numeric_limits<double>::max();
            case 7:
                return std::numeric_limits<double>::denorm_min();
            case 8:
                return std::numeric_limits<double>::min();
            case 9:
                return 1e-9 * (static_cast<int>(in_.byte()) - 128);
            case 10:
                return static_cast<int>(in_.byte()) - 128;
            case 11:
                return (static_cast<int>(in_.int16())) / 1024.0;
            default:
                return in_.float64();
        }
    }

    //! A new point, the previous one again, or one a hair away from it.
    Point point() {
        switch (in_.byte() % 8) {
            case 0:
                return last_;
            case 1:
                return last_ = {last_.x + 1e-12, last_.y, last_.z};
            default:
                return last_ = {value(), value(), value()};
        }
    }

    Polyline polyline(std::size_t most) {
        Polyline line(integer<std::size_t>(0, most));
        for (Point& p : line) p = point();
        return line;
    }

    //! Ids around a count: valid ones mostly, the edges of the range and beyond.
    int id(int count) {
        switch (in_.byte() % 8) {
            case 0:
                return -1;
            case 1:
                return count;
            case 2:
                return std::numeric_limits<int>::max();
            case 3:
                return std::numeric_limits<int>::min();
            default:
                return count > 0 ? integer<int>(0, count - 1) : 0;
        }
    }
    std::vector<int> ids(int count, std::size_t most) {
        std::vector<int> out(integer<std::size_t>(0, most));
        for (int& i : out) i = id(count);
        return out;
    }

    geo::StrokeSet strokeSet() {
        geo::StrokeSet set;
        set.points = polyline(96);
        set.sizes.resize(integer<std::size_t>(0, 8));
        for (auto& size : set.sizes) {
            switch (in_.byte() % 6) {
                case 0:
                    size = std::numeric_limits<std::int32_t>::max();
                    break;
                case 1:
                    size = std::numeric_limits<std::int32_t>::min();
                    break;
                case 2:
                    size = integer<std::int32_t>(-3, 0);
                    break;
                default:
                    size = integer<std::int32_t>(0, 40);
            }
        }
        return set;
    }

    //! A small mesh: a grid with faces left out, or polygons on any ids.
    geo::PolygonMesh mesh() {
        geo::PolygonMesh m;
        if (flag()) {
            const int nx = integer(1, 6), ny = integer(1, 6);
            for (int j = 0; j <= ny; ++j)
                for (int i = 0; i <= nx; ++i) m.points.push_back({double(i), 0.0, double(j)});
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i) {
                    if (integer(0, 5) == 0) continue;
                    const int a = i + (nx + 1) * j;
                    m.counts.push_back(4);
                    m.connects.insert(m.connects.end(), {a, a + 1, a + nx + 2, a + nx + 1});
                }
            return m;
        }
        m.points = polyline(24);
        const int faces = integer(0, 16);
        for (int f = 0; f < faces; ++f) {
            const int n = integer(0, 6);
            m.counts.push_back(n);
            for (int k = 0; k < n; ++k) m.connects.push_back(id(m.vertexCount()));
        }
        return m;
    }

    std::uint32_t spans(std::uint32_t most) {
        switch (in_.byte() % 8) {
            case 0:
                return 0;
            case 1:
                return geo::kNoResample;
            default:
                return integer<std::uint32_t>(1, most);
        }
    }

private:
    fuzz::ByteReader in_;
    Point last_;
};

//! Every polygon the builder added names vertices the sink has, and the new faces are its
//! faces. (The mesh it started from may be as broken as the input made it.)
void expectSound(const geo::PolygonMesh& start, const geo::PolygonMesh& mesh,
                 const std::vector<int>& newFaces, const char* builder) {
    std::size_t corners = 0;
    for (std::size_t f = start.counts.size(); f < mesh.counts.size(); ++f)
        corners += static_cast<std::size_t>(mesh.counts[f]);
    if (mesh.connects.size() != start.connects.size() + corners)
        broken(std::string(builder) + ": counts and corners");
    for (std::size_t k = start.connects.size(); k < mesh.connects.size(); ++k)
        if (mesh.connects[k] < 0 || mesh.connects[k] >= mesh.vertexCount())
            broken(std::string(builder) + ": corner on vertex " + std::to_string(mesh.connects[k]));
    for (int f : newFaces)
        if (f < 0 || f >= mesh.faceCount())
            broken(std::string(builder) + ": new face " + std::to_string(f));
}

void expectConsistent(const geo::StrokeSet& set, const char* operation) {
    if (!geo::isConsistent(set)) broken(std::string(operation) + " left an inconsistent set");
}

//! A closed flag that turns open after some passes, as the node attribute it
//! stands for may while a long search runs: the search that does not settle
//! would otherwise walk the stroke 100000 times for every such input.
geo::ClosedFlag closedFor(Input& in) {
    const int passes = in.integer(0, 1000);
    return [passes, asked = 0]() mutable { return asked++ < passes; };
}

void resample(Input& in) {
    const bool closed = in.integer(0, 7) == 0;
    const Polyline stroke = in.polyline(300);
    const std::uint32_t spans = in.spans(400);
    const Polyline out =
        geo::resampleStroke(stroke, spans, closed ? closedFor(in) : geo::ClosedFlag{});
    const bool resampled = stroke.size() >= 3 && stroke.size() - 1 != spans;
    if (resampled && out.size() > std::size_t{spans} + 2)
        broken("resampleStroke gave " + std::to_string(out.size()) + " points for " +
               std::to_string(spans) + " spans");
    const Polyline walked = geo::chordWalk(stroke, in.value(), spans);
    if (!stroke.empty() && walked.size() > std::size_t{spans} + 2)
        broken("chordWalk gave " + std::to_string(walked.size()) + " points");
    geo::polylineLength(stroke);
    if (auto x = geo::raySphereIntersect(in.point(), in.point(), in.point(), in.value())) (void)x;
}

void densify(Input& in) {
    geo::densifyStroke(in.polyline(300));
    if (auto dense = geo::nondestructStrokes(in.strokeSet()))
        expectConsistent(*dense, "nondestructStrokes");
}

void railGrid(Input& in) {
    std::vector<Polyline> rails(in.integer<std::size_t>(0, 5));
    for (Polyline& r : rails) r = in.polyline(80);
    const Polyline player = in.flag() ? in.polyline(40) : Polyline{};
    geo::RailGridSettings settings;
    settings.uSpans = in.spans(48);
    settings.vSpans = in.integer<std::uint32_t>(0, 48);
    settings.tolerance = in.value();
    settings.scratch = in.flag();
    if (in.integer(0, 7) == 0) settings.isClosed = closedFor(in);
    const geo::PolygonMesh start = in.flag() ? in.mesh() : geo::PolygonMesh{};
    geo::MergingMeshSink sink(start);
    std::vector<int> newFaces;
    const int before = sink.vertexCount();
    geo::buildRailGrid(rails, player, settings, sink, newFaces,
                       [](const Polyline&, const Polyline&) {});
    expectSound(start, sink.mesh(), newFaces, "buildRailGrid");
    geo::firstRow(before, settings.uSpans % 1000, settings.vSpans);
    geo::lastRow(before, settings.uSpans % 1000, settings.vSpans);
}

void bridge(Input& in) {
    const geo::PolygonMesh m = in.mesh();
    const geo::BorderMeshView view = geo::makeBorderMeshView(m);
    const std::vector<int> edges = in.ids(static_cast<int>(view.edgeVertices.size()), 16);
    const Polyline chain = in.flag() ? geo::edgeChainPoints(view, edges) : in.polyline(32);
    const Polyline path = in.polyline(32);
    const geo::PolygonMesh start = in.flag() ? m : geo::PolygonMesh{};
    geo::MergingMeshSink sink(start);
    std::vector<int> newFaces;
    geo::sweepBridge(chain, path, in.value(), sink, newFaces);
    expectSound(start, sink.mesh(), newFaces, "sweepBridge");
    const int count = in.integer(0, 1 << 20);
    geo::bridgeFirstRow(count, in.integer<std::size_t>(0, 512));
    geo::bridgeLastRow(count, in.integer<std::size_t>(0, 512), in.integer<std::uint32_t>(0, 512));
}

void borders(Input& in) {
    const geo::PolygonMesh m = in.mesh();
    const geo::BorderMeshView view = geo::makeBorderMeshView(m);
    const int vertices = m.vertexCount();
    const int edgeCount = static_cast<int>(view.edgeVertices.size());
    const int ops = in.integer(1, 8);
    for (int k = 0; k < ops && in.more(); ++k) {
        switch (in.integer(0, 9)) {
            case 0:
                geo::walkBorder(view, in.id(vertices), in.id(edgeCount), in.id(edgeCount));
                break;
            case 1: {
                const std::size_t bound = in.flag() ? geo::kNoRangeBound : in.integer(0, 64);
                geo::borderRange(view, in.id(vertices), in.id(vertices), bound);
                break;
            }
            case 2: {
                geo::Player player{in.ids(edgeCount, 12), in.id(vertices)};
                geo::fuseLoop(view, player, in.id(vertices));
                geo::playerPositions(view, player);
                const Polyline extra = in.polyline(4);
                geo::playerPositionsPlus(view, player, extra);
                geo::railDirection(view, player, in.id(edgeCount), in.id(edgeCount));
                break;
            }
            case 3: {
                const std::vector<int> edges = in.ids(edgeCount, 12);
                geo::boundaryEdgesAt(view, edges, in.id(edgeCount), in.id(edgeCount));
                geo::vertexChain(view, edges, in.id(vertices));
                geo::edgeChainPoints(view, edges);
                break;
            }
            case 4: {
                const std::vector<int> a = in.ids(vertices, 8), b = in.ids(vertices, 8);
                geo::midpoints(view, a, b);
                geo::vertexPositions(view, a);
                break;
            }
            case 5:
                geo::isBorderEdge(view, in.id(edgeCount));
                geo::edgeJoins(view, in.id(edgeCount), in.id(vertices), in.id(vertices));
                geo::vertexPosition(view, in.id(vertices));
                break;
            case 6:
                geo::edgeContribution(in.point() - in.point(), in.point() - in.point());
                break;
            case 7: {
                std::vector<int> connects = m.connects;
                geo::reverseNewQuads(connects, in.integer<std::size_t>(0, 64));
                break;
            }
            default: {
                std::vector<Polyline> polygons(in.integer<std::size_t>(0, 8));
                for (Polyline& p : polygons) p = in.polyline(6);
                geo::overlayLists(polygons, in.point(), in.value());
                break;
            }
        }
    }
}

void strokeSets(Input& in) {
    geo::StrokeSet set = in.strokeSet();
    geo::isConsistent(set);
    expectConsistent(geo::clippedStrokeSet(set), "clippedStrokeSet");
    const std::vector<Polyline> strokes = geo::splitStrokes(set);
    expectConsistent(geo::joinStrokes(strokes), "joinStrokes");
    geo::firstStroke(set);
    geo::lastSize(set);
    bool edited = true;
    switch (in.integer(0, 3)) {
        case 0:
            geo::appendStroke(set, in.polyline(32));
            break;
        case 1:
            geo::prependStroke(set, in.polyline(32));
            break;
        // A set without a stroke stays as it was, consistent or not.
        case 2:
            edited = geo::removeLastStroke(set);
            break;
        default:
            geo::closeStrokes(set);
            break;
    }
    if (edited) expectConsistent(set, "a stroke-set edit");
}

void mergingSink(Input& in) {
    const geo::PolygonMesh start = in.flag() ? in.mesh() : geo::PolygonMesh{};
    geo::MergingMeshSink sink(start);
    std::vector<int> faces;
    const int polygons = in.integer(0, 12);
    for (int k = 0; k < polygons; ++k) {
        const Polyline corners = in.polyline(6);
        faces.push_back(sink.addPolygon(corners, in.value()));
    }
    expectSound(start, sink.mesh(), faces, "MergingMeshSink");
    geo::SpatialHash hash(in.value());
    const int points = in.integer(0, 32);
    for (int k = 0; k < points; ++k) hash.insert(k, in.point());
    for (int k = 0; k < 4; ++k) hash.findWithin(in.point(), in.value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    for (int step = 0; step < 16 && in.more(); ++step) {
        switch (in.integer(0, 6)) {
            case 0:
                resample(in);
                break;
            case 1:
                densify(in);
                break;
            case 2:
                railGrid(in);
                break;
            case 3:
                bridge(in);
                break;
            case 4:
                borders(in);
                break;
            case 5:
                strokeSets(in);
                break;
            default:
                mergingSink(in);
                break;
        }
    }
    return 0;
}
