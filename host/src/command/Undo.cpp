#include "host/src/command/Undo.h"

#include "host/src/command/Commands.h"

namespace ehost {

namespace {

struct Flag {
    explicit Flag(bool& f) : flag(f), old(f) { flag = true; }
    ~Flag() { flag = old; }
    bool& flag;
    bool old;
};
}  // namespace

void UndoQueue::record(std::unique_ptr<UndoItem> item) {
    undone_.clear();
    done_.push_back(std::move(item));
    while (done_.size() > limit_) done_.pop_front();
}

bool UndoQueue::undo(std::string* text) {
    if (done_.empty()) return false;
    std::unique_ptr<UndoItem> item = std::move(done_.back());
    done_.pop_back();
    {
        Flag f(theCommands().undoing);
        SinkScope off(nullptr);
        item->undo();
    }
    if (text) *text = item->text;
    undone_.push_back(std::move(item));
    return true;
}

bool UndoQueue::redo(std::string* text) {
    if (undone_.empty()) return false;
    std::unique_ptr<UndoItem> item = std::move(undone_.back());
    undone_.pop_back();
    {
        Flag f(theCommands().redoing);
        SinkScope off(nullptr);
        item->redo();
    }
    if (text) *text = item->text;
    done_.push_back(std::move(item));
    return true;
}

void UndoQueue::flush() {
    done_.clear();
    undone_.clear();
}

void UndoQueue::setLimit(size_t limit) {
    limit_ = limit == 0 ? 1 : limit;
    while (done_.size() > limit_) done_.pop_front();
}

std::vector<std::string> UndoQueue::journal() const {
    std::vector<std::string> out;
    for (const auto& i : done_) out.push_back(i->text);
    return out;
}

void UndoCapture::undoAll() {
    for (auto it = items.rbegin(); it != items.rend(); ++it) (*it)->undo();
}

void UndoCapture::redoAll() {
    for (auto& i : items) i->redo();
}

UndoSink* currentSink() {
    auto& stack = theCommands().sinks;
    return stack.empty() ? &theCommands().undoQueue : stack.back();
}

SinkScope::SinkScope(UndoSink* sink) {
    theCommands().sinks.push_back(sink);
}
SinkScope::~SinkScope() {
    theCommands().sinks.pop_back();
}

bool isUndoing() {
    return theCommands().undoing;
}
bool isRedoing() {
    return theCommands().redoing;
}

}  // namespace ehost
