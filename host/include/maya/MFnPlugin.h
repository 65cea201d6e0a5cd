#pragma once
#include <maya/MFnBase.h>
#include <maya/MPxCommand.h>
#include <maya/MPxNode.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>
#include <maya/MTypeId.h>

//! What a plug-in registers with the host, from initializePlugin, and
//! removes again from uninitializePlugin.
class OPENMAYA_EXPORT MFnPlugin : public MFnBase {
public:
    MFnPlugin() = default;
    MFnPlugin(MObject& object, const char* vendor = "Unknown", const char* version = "Unknown",
              const char* requiredApiVersion = "Any", MStatus* status = NULL);
    ~MFnPlugin() override = default;
    MFn::Type type() const override { return MFn::kPluginObject; }

    MString vendor(MStatus* status = NULL) const;
    MString version(MStatus* status = NULL) const;
    MString apiVersion(MStatus* status = NULL) const;
    MString name(MStatus* status = NULL) const;
    MString loadPath(MStatus* status = NULL) const;
    MStatus setName(const MString& newName, bool allowRename = true);
    MStatus setVersion(const MString& newVersion);

    MStatus registerCommand(const MString& commandName, MCreatorFunction creatorFunction,
                            MCreateSyntaxFunction createSyntaxFunction = NULL);
    MStatus deregisterCommand(const MString& commandName);
    MStatus registerContextCommand(const MString& commandName, MCreatorFunction creatorFunction);
    MStatus registerContextCommand(const MString& commandName, MCreatorFunction creatorFunction,
                                   const MString& toolCmdName, MCreatorFunction toolCmdCreator,
                                   MCreateSyntaxFunction toolCmdSyntax = NULL);
    MStatus deregisterContextCommand(const MString& commandName);
    MStatus deregisterContextCommand(const MString& commandName, const MString& toolCmdName);
    MStatus registerNode(const MString& typeName, const MTypeId& typeId,
                         MCreatorFunction creatorFunction, MInitializeFunction initFunction,
                         MPxNode::Type type = MPxNode::kDependNode,
                         const MString* classification = NULL);
    MStatus deregisterNode(const MTypeId& typeId);

    static MObject findPlugin(const MString& pluginName);
    static bool isNodeRegistered(const MString& typeName);
};

// Like the host's header, defines the module's exported API version unless
// the including file asks it not to (a plug-in built several times for
// several host versions defines MApiVersion in one small file per build).
#if !defined(MNoVersionString) && !defined(MNoPluginEntry)
#define TESSARK_STRINGIFY2(x) #x
#define TESSARK_STRINGIFY(x) TESSARK_STRINGIFY2(x)
extern "C" __attribute__((visibility("default"))) const char MApiVersion[] =
    TESSARK_STRINGIFY(MAYA_API_VERSION);
#endif
