#include "host/src/view/Tools.h"

#include <maya/MEvent.h>
#include <maya/MPxContext.h>
#include <maya/MPxContextCommand.h>

#include <algorithm>

#include "host/src/core/Events.h"
#include "host/src/core/Guard.h"
#include "host/src/core/Object.h"

namespace ehost {

namespace {

void offCleanup(Tool& tool) {
    guarded(tool.name + ".toolOffCleanup", [&] { tool.context->toolOffCleanup(); });
}

}  // namespace

Tools::Tools() {
    auto select = std::make_unique<Tool>();
    select->name = kSelectTool;
    select->context = new MPxContext;
    ApiAccess::impl(*select->context).name = kSelectTool;
    tools_.push_back(std::move(select));
}

Tools::~Tools() {
    clear();
    for (auto& t : tools_) delete t->context;
}

Tool* Tools::find(const std::string& name) const {
    for (const auto& t : tools_)
        if (t->name == name) return t.get();
    return nullptr;
}

std::string Tools::uniqueName(const std::string& base, bool numbered) const {
    if (!numbered && !find(base)) return base;
    for (unsigned long n = 1;; ++n) {
        std::string candidate = base + std::to_string(n);
        if (!find(candidate)) return candidate;
    }
}

MStatus Tools::add(std::unique_ptr<Tool> tool) {
    if (!tool || !tool->context)
        return MStatus(MStatus::kInvalidParameter, "a tool needs a context");
    if (find(tool->name))
        return MStatus(MStatus::kInvalidParameter,
                       "a tool context named " + tool->name + " already exists");
    ApiAccess::impl(*tool->context).name = tool->name;
    ApiAccess::impl(*tool->context).toolCommand = tool->toolCommand;
    tools_.push_back(std::move(tool));
    return MStatus::kSuccess;
}

MStatus Tools::setCurrent(const std::string& name) {
    Tool* next = find(name);
    if (!next) return MStatus(MStatus::kInvalidParameter, "no tool context named \"" + name + "\"");
    if (next == current_) return MStatus::kSuccess;
    if (current_) offCleanup(*current_);
    current_ = next;
    MEvent setupEvent;
    guarded(next->name + ".toolOnSetup", [&] { next->context->toolOnSetup(setupEvent); });
    theEvents().fire("ToolChanged");
    return MStatus::kSuccess;
}

void Tools::toolOff() {
    Tool* off = current_;
    current_ = nullptr;
    if (off) offCleanup(*off);
}

void Tools::remove(std::vector<std::unique_ptr<Tool>>::iterator it) {
    std::unique_ptr<Tool> gone = std::move(*it);
    tools_.erase(it);
    // A context that goes while it is the tool is switched off first; the
    // host then has no current tool.
    if (current_ == gone.get()) {
        current_ = nullptr;
        offCleanup(*gone);
    }
    delete gone->context;
    delete gone->command;
}

void Tools::removeMadeBy(const std::string& contextCommand) {
    for (;;) {
        auto it = std::find_if(tools_.begin(), tools_.end(), [&](const auto& t) {
            return !t->contextCommand.empty() && t->contextCommand == contextCommand;
        });
        if (it == tools_.end()) return;
        remove(it);
    }
}

void Tools::removePlugin(const std::string& plugin) {
    for (;;) {
        auto it = std::find_if(tools_.begin(), tools_.end(), [&](const auto& t) {
            return !t->plugin.empty() && t->plugin == plugin;
        });
        if (it == tools_.end()) return;
        remove(it);
    }
}

void Tools::clear() {
    for (;;) {
        auto it = std::find_if(tools_.begin(), tools_.end(),
                               [](const auto& t) { return !t->contextCommand.empty(); });
        if (it == tools_.end()) break;
        remove(it);
    }
    current_ = nullptr;
}

}  // namespace ehost
