#pragma once
// Dynamic attributes in scene files: the "attr" line that describes one (and
// the "child" lines of its children), written and read back to an attribute
// of the same kind, names, defaults, limits and flags. See SceneFile.h.

#include "host/src/dg/Graph.h"
#include "host/src/io/TextFile.h"

namespace ehost::io {

//! Writes the attribute's line and, below it, its children's.
void writeAttributeLines(TextWriter& out, const Attribute& attr);
//! Reads an attribute whose "attr" keyword was just taken, and its children's
//! lines; throws ParseError.
AttrPtr readAttributeLines(LineScanner& in);

}  // namespace ehost::io
