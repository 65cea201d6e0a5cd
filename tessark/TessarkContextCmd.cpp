#include "tessark/TessarkContextCmd.h"

#include <maya/MArgParser.h>
#include <maya/MGlobal.h>
#include <maya/MSyntax.h>

#include "railnode/ApiError.h"
#include "railnode/RailNodeOps.h"
#include "tessark/TessarkContext.h"

namespace {

// A brush set up without a radius or an intensity, and never given one
// before, still does something an artist can see.
constexpr double kDefaultBrushRadius = 50;
constexpr double kDefaultBrushIntensity = 0.25;

}  // namespace

TessarkContextCmd::TessarkContextCmd() = default;
TessarkContextCmd::~TessarkContextCmd() = default;

void* TessarkContextCmd::creator() {
    return new TessarkContextCmd;
}

MPxContext* TessarkContextCmd::makeObj() {
    context_ = new TessarkContext;
    return context_;
}

MStatus TessarkContextCmd::appendSyntax() {
    MSyntax syntax = this->syntax();
    const struct {
        const char* shortName;
        const char* longName;
        MSyntax::MArgType type;
    } flags[] = {
        {"-u", "-uspan", MSyntax::kUnsigned},         {"-v", "-vspan", MSyntax::kUnsigned},
        {"-r", "-relax", MSyntax::kBoolean},          {"-rb", "-relaxBrush", MSyntax::kBoolean},
        {"-re", "-refresh", MSyntax::kBoolean},       {"-rp", "-refreshPlayer", MSyntax::kBoolean},
        {"-mt", "-mergeThreshold", MSyntax::kDouble}, {"-rad", "-radius", MSyntax::kDouble},
        {"-i", "-intensity", MSyntax::kDouble},       {"nd", "nondestruct", MSyntax::kBoolean},
    };
    for (const auto& flag : flags) {
        MStatus status = syntax.addFlag(flag.shortName, flag.longName, flag.type);
        TESSARK_REPORT_ERROR(status);
    }
    return MStatus::kSuccess;
}

MStatus TessarkContextCmd::doEditFlags() {
    if (!context_) {
        MGlobal::displayError("TessarkContext: there is no tool context to edit yet");
        return MStatus::kFailure;
    }
    MArgParser args = parser();
    tessark::tool::ToolMachine& machine = context_->machine();
    // A span count not given keeps the value stored before.
    if (args.isFlagSet("-u") || args.isFlagSet("-v")) {
        unsigned u = static_cast<unsigned>(tessark::uSpans());
        unsigned v = static_cast<unsigned>(tessark::vSpans());
        if (args.isFlagSet("-v")) args.getFlagArgument("-v", 0, v);
        if (args.isFlagSet("-u")) args.getFlagArgument("-u", 0, u);
        MGlobal::setOptionVarValue("kv_uspan", static_cast<int>(u));
        MGlobal::setOptionVarValue("kv_vspan", static_cast<int>(v));
    }
    if (args.isFlagSet("-re")) machine.refreshPlayer();
    if (args.isFlagSet("-rp")) machine.rebuildPlayer();
    if (args.isFlagSet("-mt")) {
        double unused = 0;
        args.getFlagArgument("-mt", 0, unused);
    }
    if (args.isFlagSet("-rb")) {
        const auto& state = machine.state();
        double radius = state.brushRadius > 0 ? state.brushRadius : kDefaultBrushRadius;
        double intensity =
            state.brushStrength > 0 ? state.brushStrength / 4 : kDefaultBrushIntensity;
        if (args.isFlagSet("-i")) args.getFlagArgument("-i", 0, intensity);
        if (args.isFlagSet("-rad")) args.getFlagArgument("-rad", 0, radius);
        machine.enterBrushMode(radius, intensity);
    }
    return MStatus::kSuccess;
}

MStatus TessarkContextCmd::doQueryFlags() {
    MArgParser args = parser();
    if (args.isFlagSet("-v")) setResult(tessark::vSpans());
    if (args.isFlagSet("-u")) setResult(tessark::uSpans());
    return MStatus::kSuccess;
}
