#pragma once
// Tool contexts: the contexts made by context commands (each keeps the
// context-command object that made it, which edits and queries it), and the
// current tool that receives the active view's input events.

#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <vector>

class MPxContext;
class MPxContextCommand;

namespace ehost {

struct Tool {
    std::string name;            // "TessarkContext1"
    std::string contextCommand;  // the command that made it; "" for the host's own
    std::string toolCommand;     // the tool command its contexts make
    std::string plugin;          // "" for the host's own
    MPxContext* context = nullptr;
    MPxContextCommand* command = nullptr;
};

class Tools {
public:
    //! The host's own do-nothing tool, always there.
    static constexpr const char* kSelectTool = "selectSuperContext";

    Tools();
    ~Tools();
    Tools(const Tools&) = delete;
    Tools& operator=(const Tools&) = delete;

    Tool* find(const std::string& name) const;
    Tool* current() const { return current_; }
    const std::vector<std::unique_ptr<Tool>>& all() const { return tools_; }
    //! base itself when no context has that name, else base with a number
    //! ("TessarkContext1", "TessarkContext2" ...).
    std::string uniqueName(const std::string& base, bool numbered) const;
    //! Takes a new context; its name must be free.
    MStatus add(std::unique_ptr<Tool> tool);
    //! setToolTo: toolOffCleanup on the current tool, toolOnSetup on the new
    //! one, then the "ToolChanged" event. Choosing the current tool again does nothing.
    MStatus setCurrent(const std::string& name);
    //! Switches the current tool off (toolOffCleanup); there is then none.
    void toolOff();
    //! Deletes every context a context command made (with their command objects).
    void removeMadeBy(const std::string& contextCommand);
    void removePlugin(const std::string& plugin);
    //! Deletes every plug-in context; the current tool goes off first.
    void clear();

private:
    void remove(std::vector<std::unique_ptr<Tool>>::iterator it);
    std::vector<std::unique_ptr<Tool>> tools_;
    Tool* current_ = nullptr;
};

}  // namespace ehost
