// loadPlugin, unloadPlugin, pluginInfo, hostRefuseRegistration.

#include "host/src/builtins/Builtin.h"
#include "host/src/core/StatusText.h"
#include "host/src/plugin/Plugins.h"
#include "host/src/plugin/Refusal.h"

namespace ehost {

namespace {

MSyntax loadSyntax() {
    MSyntax s;
    s.addFlag("-qt", "-quiet");
    s.setObjectType(MSyntax::kStringObjects, 1);
    return s;
}

class LoadPluginCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        const MStringArray names = objectNames(db);
        MStringArray loadedNames;
        for (unsigned i = 0; i < names.length(); ++i) {
            std::string name;
            MStatus st = loadPlugin(names[i].str(), &name);
            if (!st) return error(statusText(st), st.statusCode());
            loadedNames.append(MString(name));
        }
        setResult(loadedNames);
        return MStatus::kSuccess;
    }
};

MSyntax unloadSyntax() {
    MSyntax s;
    s.addFlag("-f", "-force");
    s.setObjectType(MSyntax::kStringObjects, 1);
    return s;
}

class UnloadPluginCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        const MStringArray names = objectNames(db);
        for (unsigned i = 0; i < names.length(); ++i) {
            MStatus st = unloadPlugin(names[i].str(), db.isFlagSet("-f"));
            if (!st) return error(statusText(st), st.statusCode());
        }
        return MStatus::kSuccess;
    }
};

MSyntax pluginInfoSyntax() {
    MSyntax s;
    s.addFlag("-l", "-loaded");
    s.addFlag("-ls", "-listPlugins");
    s.addFlag("-v", "-version");
    s.addFlag("-vd", "-vendor");
    s.addFlag("-p", "-path");
    s.enableQuery(true);
    s.setObjectType(MSyntax::kStringObjects, 0, 1);
    return s;
}

class PluginInfoCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        const MStringArray names = objectNames(db);
        if (db.isFlagSet("-ls")) {
            MStringArray out;
            for (const auto& p : loadedPlugins()) out.append(MString(p.name));
            setResult(out);
            return MStatus::kSuccess;
        }
        if (names.length() != 1) return error("name one plug-in");
        std::string name = names[0].str();
        if (db.isFlagSet("-l")) {
            setResult(isPluginLoaded(name));
            return MStatus::kSuccess;
        }
        for (const auto& p : loadedPlugins())
            if (p.name == name) {
                if (db.isFlagSet("-v"))
                    setResult(MString(p.version));
                else if (db.isFlagSet("-vd"))
                    setResult(MString(p.vendor));
                else if (db.isFlagSet("-p"))
                    setResult(MString(p.path));
                else
                    setResult(MString(p.apiVersion));
                return MStatus::kSuccess;
            }
        return error("plug-in \"" + name + "\" is not loaded");
    }
};

MSyntax refuseSyntax() {
    MSyntax s;
    s.addFlag("-k", "-kind", MSyntax::kString);
    s.addFlag("-cl", "-clear");
    s.setObjectType(MSyntax::kStringObjects, 0, 1);
    return s;
}

//! Makes the host refuse a chosen registration, to test how plug-ins cope.
class RefuseCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        if (db.isFlagSet("-cl")) {
            clearRefusals();
            return MStatus::kSuccess;
        }
        MString kind;
        const MStringArray names = objectNames(db);
        if (!db.isFlagSet("-k") || names.length() != 1)
            return error("usage: hostRefuseRegistration -kind KIND NAME, or -clear");
        db.getFlagArgument("-k", 0, kind);
        RegistrationKind k;
        if (kind == "node")
            k = RegistrationKind::Node;
        else if (kind == "command")
            k = RegistrationKind::Command;
        else if (kind == "contextCommand")
            k = RegistrationKind::ContextCommand;
        else if (kind == "drawOverride")
            k = RegistrationKind::DrawOverride;
        else if (kind == "renderOverride")
            k = RegistrationKind::RenderOverride;
        else
            return error("unknown kind \"" + kind.str() +
                         "\" (node, command, contextCommand, drawOverride, renderOverride)");
        refuseRegistration(k, names[0].str());
        return MStatus::kSuccess;
    }
};

void add(Commands& c) {
    addBuiltin<LoadPluginCommand>(c, "loadPlugin", loadSyntax);
    addBuiltin<UnloadPluginCommand>(c, "unloadPlugin", unloadSyntax);
    addBuiltin<PluginInfoCommand>(c, "pluginInfo", pluginInfoSyntax);
    addBuiltin<RefuseCommand>(c, "hostRefuseRegistration", refuseSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
