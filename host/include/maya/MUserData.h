#pragma once
#include <maya/MTypes.h>

//! Data a draw override prepares for its draw (prepareForDraw) and gets back
//! on the next frame. Whoever holds it deletes it unless deleteAfterUse is
//! set, in which case the host deletes it once the frame is drawn.
class OPENMAYA_EXPORT MUserData {
public:
    MUserData() = default;
    explicit MUserData(bool deleteAfterUse) : deleteAfterUse_(deleteAfterUse) {}
    virtual ~MUserData() = default;

    bool deleteAfterUse() const { return deleteAfterUse_; }
    void setDeleteAfterUse(bool shouldDelete) { deleteAfterUse_ = shouldDelete; }

private:
    bool deleteAfterUse_ = false;
};
