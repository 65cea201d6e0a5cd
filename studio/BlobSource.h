#pragma once
// The studio's built-in source: a dense, lightly sculpted blob, the same
// surface as the example session's (examples/dense_blob.awk), written as an
// OBJ file for the host to import.

#include <string>

namespace tessark_studio {

struct BlobSize {
    int rings = 501;      // rings of latitude from pole to pole
    int segments = 1000;  // points around each ring
};

//! About 2 * rings * segments triangles (a million by default). False with
//! the reason when the file could not be written.
bool writeBlobObj(const std::string& path, const BlobSize& size, std::string& why);

}  // namespace tessark_studio
