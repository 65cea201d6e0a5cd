// OFF import: an optional "OFF" header (or COFF, NOFF, STOFF ... whose
// vertex lines carry extra numbers), a line "vertices faces [edges]", one
// vertex per line, then one face per line as "n v0 ... v(n-1) [colour]",
// with 0-based vertex ids. '#' starts a comment anywhere.

#include <algorithm>
#include <cmath>

#include "host/src/io/MeshFiles.h"
#include "host/src/io/TextFile.h"

namespace ehost {

namespace {

using io::LineScanner;
using io::ParseError;

//! "OFF" with the optional prefixes that add per-vertex data.
bool isOffHeader(std::string_view t) {
    if (t.size() < 3 || t.substr(t.size() - 3) != "OFF") return false;
    std::string_view prefix = t.substr(0, t.size() - 3);
    if (prefix.substr(0, 2) == "ST") prefix.remove_prefix(2);
    if (!prefix.empty() && prefix.front() == 'C') prefix.remove_prefix(1);
    if (!prefix.empty() && prefix.front() == 'N') prefix.remove_prefix(1);
    return prefix.empty();
}

class OffReader {
public:
    explicit OffReader(std::string_view text) : in_(text, true) {}

    void read(ImportedMesh& out) {
        counts();
        out.points.resize(numVertices_);
        for (std::size_t i = 0; i < numVertices_; ++i) out.points[i] = vertex(i);
        out.counts.resize(numFaces_);
        for (std::size_t f = 0; f < numFaces_; ++f) out.counts[f] = face(f, out.connects);
        if (in_.next())
            in_.fail("more data than the header's counts (" + std::to_string(numVertices_) +
                     " vertices, " + std::to_string(numFaces_) + " faces)");
        if (numFaces_ == 0) throw ParseError(0, "the file has no polygons");
    }

private:
    void counts() {
        if (!in_.next()) throw ParseError(0, "the file is empty");
        std::string_view first = in_.token("OFF");
        if (isOffHeader(first)) {
            if (in_.atLineEnd() && !in_.next())
                in_.fail("the file ends before the vertex and face counts");
        } else if (first.find("OFF") != std::string_view::npos) {
            in_.fail("unsupported OFF variant \"" + std::string(first) +
                     "\" (only 3-D OFF files are read)");
        } else {
            in_.unread(first);  // the header is optional
        }
        numVertices_ = in_.count("vertex count", 6);
        numFaces_ = in_.count("face count", 8);
        std::string_view edges;
        if (in_.tryToken(edges)) {
            long long ignored;
            if (!io::parseNumber(edges, ignored))
                in_.fail("\"" + std::string(edges) + "\" is not a valid edge count");
        }
        in_.expectLineEnd();
    }

    void nextItem(const char* what, std::size_t index, std::size_t total) {
        if (!in_.next())
            in_.fail("the file ends after " + std::to_string(index) + " of the " +
                     std::to_string(total) + " " + what + " its header counts");
    }

    Vec3 vertex(std::size_t i) {
        nextItem("vertices", i, numVertices_);
        Vec3 p;
        for (int k = 0; k < 3; ++k) {
            p[k] = in_.number<double>("coordinate");
            if (!std::isfinite(p[k])) in_.fail("the coordinate is not a finite number");
        }
        extraNumbers();
        return p;
    }

    int face(std::size_t f, std::vector<int>& connects) {
        nextItem("faces", f, numFaces_);
        long long n = in_.number<long long>("corner count");
        if (n < 3) in_.fail("a face needs at least 3 corners, this one has " + std::to_string(n));
        ids_.clear();
        for (long long k = 0; k < n; ++k) {
            long long v = in_.number<long long>("vertex id");
            if (v < 0 || static_cast<unsigned long long>(v) >= numVertices_)
                in_.fail("vertex id " + std::to_string(v) + " is out of range (the file has " +
                         std::to_string(numVertices_) + " vertices)");
            ids_.push_back(static_cast<int>(v));
        }
        extraNumbers();  // a face colour
        connects.insert(connects.end(), ids_.begin(), ids_.end());
        std::sort(ids_.begin(), ids_.end());
        if (std::adjacent_find(ids_.begin(), ids_.end()) != ids_.end())
            in_.fail("the face uses one vertex more than once");
        return static_cast<int>(n);
    }

    void extraNumbers() {
        std::string_view t;
        while (in_.tryToken(t)) {
            double ignored;
            if (!io::parseNumber(t, ignored)) in_.fail("unexpected \"" + std::string(t) + "\"");
        }
    }

    LineScanner in_;
    std::size_t numVertices_ = 0, numFaces_ = 0;
    std::vector<int> ids_;
};

}  // namespace

bool readOff(const std::string& path, ImportedMesh& out, std::string& error) {
    std::string text;
    if (!io::readWholeFile(path, text, error)) return false;
    try {
        out = ImportedMesh();
        OffReader(text).read(out);
    } catch (const ParseError& e) {
        error = path + ": " + e.describe();
        return false;
    }
    return true;
}

}  // namespace ehost
