#include "tessark/TessarkContextCmd.h"

#include "tessark/TessarkContext.h"

TessarkContextCmd::TessarkContextCmd() = default;
TessarkContextCmd::~TessarkContextCmd() = default;

void* TessarkContextCmd::creator() {
    return new TessarkContextCmd;
}

MPxContext* TessarkContextCmd::makeObj() {
    context_ = new TessarkContext;
    return context_;
}
