#include <maya/MDrawRegistry.h>
#include <maya/MPxDrawOverride.h>

#include "host/src/dg/Api.h"
#include "host/src/plugin/Plugin.h"
#include "host/src/plugin/Refusal.h"
#include "host/src/view/Views.h"

using ehost::api::fail;

namespace MHWRender {

// ---------------------------------------------------------------- MPxDrawOverride

MPxDrawOverride::MPxDrawOverride(const MObject& obj, GeometryDrawOverrideCb callback,
                                 bool isAlwaysDirty)
    : callback_(callback), alwaysDirty_(isAlwaysDirty), object_(obj) {}

MPxDrawOverride::~MPxDrawOverride() = default;

DrawAPI MPxDrawOverride::supportedDrawAPIs() const {
    return kOpenGL;
}
bool MPxDrawOverride::hasUIDrawables() const {
    return false;
}

MMatrix MPxDrawOverride::transform(const MDagPath& objPath, const MDagPath&) const {
    return objPath.inclusiveMatrix();
}

MBoundingBox MPxDrawOverride::boundingBox(const MDagPath&, const MDagPath&) const {
    return MBoundingBox();
}
bool MPxDrawOverride::isBounded(const MDagPath&, const MDagPath&) const {
    return false;
}
bool MPxDrawOverride::disableInternalBoundingBoxDraw() const {
    return false;
}
bool MPxDrawOverride::excludedFromPostEffects() const {
    return true;
}
bool MPxDrawOverride::isTransparent() const {
    return false;
}

void MPxDrawOverride::addUIDrawables(const MDagPath&, MUIDrawManager&, const MFrameContext&,
                                     const MUserData*) {}

bool MPxDrawOverride::wantUserSelection() const {
    return false;
}
bool MPxDrawOverride::traceCallSequence() const {
    return false;
}
void MPxDrawOverride::handleTraceMessage(const MString&) const {}

// ---------------------------------------------------------------- MDrawRegistry

namespace {

std::string loadingPlugin() {
    ehost::Plugin* p = ehost::pluginBeingLoaded();
    return p ? p->info.name : "";
}

}  // namespace

MStatus MDrawRegistry::registerDrawOverrideCreator(const MString& drawClassification,
                                                   const MString& registrantId,
                                                   DrawOverrideCreator creator) {
    using ehost::RegistrationKind;
    if (ehost::isRefused(RegistrationKind::DrawOverride, drawClassification.str()) ||
        ehost::isRefused(RegistrationKind::DrawOverride, registrantId.str()))
        return fail(MStatus::kFailure,
                    "the host refused to register a draw override for " + drawClassification.str());
    ehost::DrawOverrides::Creator c;
    c.classification = drawClassification.str();
    c.registrant = registrantId.str();
    c.plugin = loadingPlugin();
    c.make = creator;
    return ehost::theViews().drawOverrides().add(std::move(c));
}

MStatus MDrawRegistry::deregisterDrawOverrideCreator(const MString& drawClassification,
                                                     const MString& registrantId) {
    return ehost::theViews().drawOverrides().remove(drawClassification.str(), registrantId.str());
}

}  // namespace MHWRender
