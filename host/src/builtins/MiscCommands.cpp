// undo, redo, optionVar.

#include "host/src/builtins/Builtin.h"
#include "host/src/command/Commands.h"
#include "host/src/core/Events.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/Preferences.h"
#include "host/src/core/StatusText.h"

namespace ehost {

namespace {

MSyntax noSyntax() {
    return MSyntax();
}

class UndoCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase&) override {
        std::string text;
        if (!theCommands().undoQueue.undo(&text)) {
            theMessages().warning("There are no more commands to undo.");
            return MStatus::kSuccess;
        }
        theMessages().info("// Undo: " + text + " //");
        theEvents().fire("Undo");
        return MStatus::kSuccess;
    }
};

class RedoCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase&) override {
        std::string text;
        if (!theCommands().undoQueue.redo(&text)) {
            theMessages().warning("There are no more commands to redo.");
            return MStatus::kSuccess;
        }
        theMessages().info("// Redo: " + text + " //");
        theEvents().fire("Redo");
        return MStatus::kSuccess;
    }
};

MSyntax undoInfoSyntax() {
    MSyntax s;
    s.addFlag("-l", "-length", MSyntax::kUnsigned);
    s.addFlag("-fl", "-flush");
    s.addFlag("-ock", "-openChunk");
    s.addFlag("-cck", "-closeChunk");
    s.addFlag("-cn", "-chunkName", MSyntax::kString);
    s.enableQuery(true);
    return s;
}

class UndoInfoCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        auto& q = theCommands().undoQueue;
        if (db.isQuery()) {
            setResult(static_cast<int>(q.limit()));
            return MStatus::kSuccess;
        }
        if (db.isFlagSet("-ock") && db.isFlagSet("-cck"))
            return error("-openChunk and -closeChunk cannot be used together");
        // A chunk gathers what is recorded where this command is: in the
        // queue, or in the step of a command that runs it.
        UndoSink* sink = isUndoing() || isRedoing() ? nullptr : enclosingSink();
        if (db.isFlagSet("-ock")) {
            MString name;
            if (db.isFlagSet("-cn")) db.getFlagArgument("-cn", 0, name);
            if (sink) sink->openChunk(name.str());
            return MStatus::kSuccess;
        }
        if (db.isFlagSet("-cck")) {
            if (sink && !sink->closeChunk()) return error("there is no open undo chunk to close");
            return MStatus::kSuccess;
        }
        if (db.isFlagSet("-fl")) q.flush();
        if (db.isFlagSet("-l")) {
            unsigned n = 0;
            db.getFlagArgument("-l", 0, n);
            if (n == 0) return error("the undo queue needs a length of at least 1");
            q.setLimit(n);
        }
        return MStatus::kSuccess;
    }
};

MSyntax optionVarSyntax() {
    MSyntax s;
    s.addFlag("-iv", "-intValue", MSyntax::kString, MSyntax::kLong);
    s.addFlag("-fv", "-floatValue", MSyntax::kString, MSyntax::kDouble);
    s.addFlag("-sv", "-stringValue", MSyntax::kString, MSyntax::kString);
    s.addFlag("-iva", "-intValueAppend", MSyntax::kString, MSyntax::kLong);
    s.addFlag("-fva", "-floatValueAppend", MSyntax::kString, MSyntax::kDouble);
    s.addFlag("-sva", "-stringValueAppend", MSyntax::kString, MSyntax::kString);
    for (const char* f : {"-iv", "-fv", "-sv", "-iva", "-fva", "-sva"}) s.makeFlagMultiUse(f);
    s.addFlag("-q", "-query", MSyntax::kString);
    s.addFlag("-ex", "-exists", MSyntax::kString);
    s.addFlag("-rm", "-remove", MSyntax::kString);
    s.addFlag("-l", "-list");
    return s;
}

class OptionVarCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        Preferences& prefs = thePrefs();
        struct Setter {
            const char* flag;
            bool append;
        };
        for (const Setter& s : {Setter{"-iv", false}, Setter{"-fv", false}, Setter{"-sv", false},
                                Setter{"-iva", true}, Setter{"-fva", true}, Setter{"-sva", true}}) {
            for (unsigned u = 0; u < db.numberOfFlagUses(s.flag); ++u) {
                MArgList l;
                db.getFlagArgumentList(s.flag, u, l);
                std::string name = l.asString(0).str();
                if (name.empty()) return error("an option variable needs a name");
                char kind = s.flag[1];
                OptionValue v = kind == 'i'   ? OptionValue::ofInt(l.asInt(1))
                                : kind == 'f' ? OptionValue::ofDouble(l.asDouble(1))
                                              : OptionValue::ofString(l.asString(1).str());
                MStatus st = s.append ? prefs.append(name, v) : prefs.set(name, v);
                if (!st) return error(statusText(st));
            }
        }
        MString name;
        if (db.isFlagSet("-rm")) {
            db.getFlagArgument("-rm", 0, name);
            MStatus st = prefs.remove(name.str());
            if (!st && st.statusCode() != MStatus::kNotFound) return error(statusText(st));
        }
        if (db.isFlagSet("-ex")) {
            db.getFlagArgument("-ex", 0, name);
            setResult(prefs.find(name.str()) != nullptr);
        }
        if (db.isFlagSet("-l")) {
            MStringArray names;
            for (const auto& n : prefs.names()) names.append(MString(n));
            setResult(names);
        }
        if (db.isFlagSet("-q")) {
            db.getFlagArgument("-q", 0, name);
            const auto* list = prefs.findList(name.str());
            if (!list || list->empty()) {
                setResult(0);
                return MStatus::kSuccess;
            }
            const OptionValue& v = list->front();
            if (list->size() == 1) {
                if (v.kind == OptionValue::Kind::Int)
                    setResult(v.i);
                else if (v.kind == OptionValue::Kind::Double)
                    setResult(v.d);
                else
                    setResult(MString(v.s));
            } else if (v.kind == OptionValue::Kind::Int) {
                MIntArray a;
                for (const auto& e : *list) a.append(e.asInt());
                setResult(a);
            } else if (v.kind == OptionValue::Kind::Double) {
                MDoubleArray a;
                for (const auto& e : *list) a.append(e.asDouble());
                setResult(a);
            } else {
                MStringArray a;
                for (const auto& e : *list) a.append(MString(e.asString()));
                setResult(a);
            }
        }
        return MStatus::kSuccess;
    }
};

void add(Commands& c) {
    addBuiltin<UndoCommand>(c, "undo", noSyntax);
    addBuiltin<RedoCommand>(c, "redo", noSyntax);
    addBuiltin<UndoInfoCommand>(c, "undoInfo", undoInfoSyntax);
    addBuiltin<OptionVarCommand>(c, "optionVar", optionVarSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
