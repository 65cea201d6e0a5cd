#include "viewport/viewMRenderOverrideCmd.h"

#include <maya/MArgList.h>
#include <maya/MViewport2Renderer.h>

#include <new>

#include "viewport/MRenderOverrideTester.h"
#include "viewport/NoThrow.h"
#include "viewport/OverrideParameters.h"
#include "viewport/ViewportNames.h"

void* viewMRenderOverrideCmd::creator() {
    return new (std::nothrow) viewMRenderOverrideCmd();
}

MSyntax viewMRenderOverrideCmd::newSyntax() {
    MSyntax syntax;
    stopOnThrow([&] { addFlags(syntax); });
    return syntax;
}

void viewMRenderOverrideCmd::addFlags(MSyntax& syntax) {
    syntax.addFlag("-so", "-shaderOverride", MSyntax::kBoolean);
    syntax.addFlag("-os", "-objectSet", MSyntax::kString);
    syntax.addFlag("-sf", "-sceneFilter", MSyntax::kUnsigned);
    syntax.addFlag("-su", "-sceneUIDrawables", MSyntax::kBoolean);
    syntax.addFlag("-uu", "-userUIDrawables", MSyntax::kBoolean);
    syntax.addFlag("-ul", "-userUILightData", MSyntax::kBoolean);
    syntax.addFlag("-pd", "-presentDepth", MSyntax::kBoolean);
    syntax.addFlag("-vr", "-viewportRectangle", MSyntax::kBoolean);
    syntax.addFlag("-db", "-debug", MSyntax::kBoolean);
}

MStatus viewMRenderOverrideCmd::parseArgs(const MArgList& args) {
    mValues = FlagValues();
    FlagValues& v = mValues;

    enum class Kind { Boolean, String, Unsigned };
    struct Flag {
        const char* shortName;
        const char* longName;
        Kind kind;
        bool* boolean;
        MString* string;
        int* number;
    };
    const Flag flags[] = {
        {"-so", "-shaderOverride", Kind::Boolean, &v.shaderOverride, nullptr, nullptr},
        {"-os", "-objectSet", Kind::String, nullptr, &v.objectSet, nullptr},
        {"-sf", "-sceneFilter", Kind::Unsigned, nullptr, nullptr, &v.sceneFilter},
        {"-su", "-sceneUIDrawables", Kind::Boolean, &v.sceneUIDrawables, nullptr, nullptr},
        {"-uu", "-userUIDrawables", Kind::Boolean, &v.userUIDrawables, nullptr, nullptr},
        {"-ul", "-userUILightData", Kind::Boolean, &v.userUILightData, nullptr, nullptr},
        {"-pd", "-presentDepth", Kind::Boolean, &v.presentDepth, nullptr, nullptr},
        {"-vr", "-viewportRectangle", Kind::Boolean, &v.viewportRectangle, nullptr, nullptr},
        {"-db", "-debug", Kind::Boolean, &v.debug, nullptr, nullptr},
    };

    const unsigned int count = args.length();
    for (unsigned int i = 0; i < count; ++i) {
        MStatus status;
        const MString arg = args.asString(i, &status);
        if (!status) continue;
        for (const Flag& flag : flags) {
            if (arg != flag.shortName && arg != flag.longName) continue;
            if (i + 1 >= count) {
                displayError(arg + ": must specify a value for " + flag.longName);
                return MStatus::kFailure;
            }
            ++i;
            switch (flag.kind) {
                case Kind::Boolean:
                    *flag.boolean = args.asBool(i, &status);
                    break;
                case Kind::String:
                    *flag.string = args.asString(i, &status);
                    break;
                case Kind::Unsigned:
                    *flag.number = args.asInt(i, &status);
                    if (status && *flag.number < 0) status = MStatus::kInvalidParameter;
                    break;
            }
            // A value that does not read would otherwise switch the parameter off unseen.
            if (!status) {
                displayError(arg + ": invalid value " + args.asString(i) + " for " + flag.longName);
                return MStatus::kFailure;
            }
            break;
        }
    }
    return MStatus::kSuccess;
}

MStatus viewMRenderOverrideCmd::doIt(const MArgList& args) {
    return failureOnThrow([&] { return apply(args); });
}

MStatus viewMRenderOverrideCmd::apply(const MArgList& args) {
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer();
    if (!renderer) return MStatus::kFailure;
    const MHWRender::MRenderOverride* found = renderer->findRenderOverride(kViewportOverrideName);
    // Only an override this plug-in made can be edited; another plug-in's of
    // the same name is not ours to cast.
    MRenderOverrideTester* override = registeredViewportOverride();
    if (!found || found != override) return MStatus::kFailure;

    MStatus status = parseArgs(args);
    if (!status) return status;

    OverrideParameters parameters;
    parameters.shaderOverride = mValues.shaderOverride;
    parameters.objectSet = mValues.objectSet;
    parameters.sceneFilter = override->parameters().sceneFilter;
    unsigned int option = 0;
    if (sceneFilterOption(mValues.sceneFilter, option)) parameters.sceneFilter = option;
    parameters.sceneUIDrawables = mValues.sceneUIDrawables;
    parameters.userUIDrawables = mValues.userUIDrawables;
    parameters.userUILightData = mValues.userUILightData;
    parameters.viewportRectangle = mValues.viewportRectangle;
    parameters.presentDepth = mValues.presentDepth;
    parameters.clearMask = override->parameters().clearMask;
    override->setParameters(parameters);
    return MStatus::kSuccess;
}
