#pragma once
// The scene file format's two halves (see SceneFile.h for the format itself):
// the writer, and the reader that stages a whole file before it touches the
// scene.

#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/src/dg/Graph.h"
#include "host/src/io/TextFile.h"

namespace ehost::io {

inline constexpr std::string_view kWorldName = "|";

//! Nodes that every new scene has: the reader reuses them rather than
//! creating them, so the file lists only their values ("edit NAME").
bool madeByNewScene(const Node& node);
bool madeByNewScene(std::string_view name);
//! The type of the node of that name in a new scene ("" for none).
const char* newSceneNodeType(std::string_view name);

bool dataTypeFromName(std::string_view name, MFnData::Type& out);
bool numericTypeFromName(std::string_view name, MFnNumericData::Type& out);

//! Same double bit for bit (so -0 differs from 0, as it does in the file).
bool sameBits(double a, double b);

//! A scene that cannot be written (a value of a type the format lacks).
class SaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

//! Writes the current scene; throws SaveError.
void writeScene(TextWriter& out);

//! A whole scene file, parsed and checked but not yet applied.
class StagedScene {
public:
    StagedScene();
    ~StagedScene();
    //! Parses and validates everything (loading required plug-ins); throws ParseError.
    void read(std::string_view text);
    //! Replaces the current scene with the staged one.
    void apply();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ehost::io
