#pragma once
// What MDGModifier and MDagModifier queue: scene edits that are performed in
// order, taken back in reverse, and performed again.

#include <memory>
#include <string>
#include <vector>

#include <maya/MStatus.h>

namespace ehost {

class ModifierOp {
public:
    virtual ~ModifierOp() = default;
    virtual MStatus apply() = 0;
    virtual void revert() = 0;
    bool done = false;
};

struct ModifierOps {
    std::vector<std::unique_ptr<ModifierOp>> ops;
    //! Performs the ops not yet done, in order; stops at the first failure.
    MStatus doIt();
    //! Takes back the done ops, newest first.
    MStatus undoIt();
};

}  // namespace ehost
