#pragma once
// The interactive rail tool. Its gestures drive the whole tool: strokes on
// the source surface, pins on the retopology mesh's border, bridges, welds,
// merges and the relax brush, each finished gesture one undoable action.

#include <maya/MPxContext.h>

class TessarkContext : public MPxContext {
public:
    TessarkContext();
    ~TessarkContext() override;
};
