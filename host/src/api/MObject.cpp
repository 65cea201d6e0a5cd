#include <maya/MObject.h>

#include "host/src/core/Object.h"

MObject MObject::kNullObj;

bool MObject::hasFn(MFn::Type type) const {
    return obj_ && obj_->hasFn(type);
}

MFn::Type MObject::apiType() const {
    return obj_ ? obj_->apiType() : MFn::kInvalid;
}

const char* MObject::apiTypeStr() const {
    return ehost::kindName(apiType());
}
