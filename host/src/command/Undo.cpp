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
//! The items of one chunk.
class ChunkItem : public UndoItem {
public:
    void undo() override { capture.undoAll(); }
    void redo() override { capture.redoAll(); }
    UndoCapture capture;
    std::string name;
};

}  // namespace

UndoSink::~UndoSink() = default;

void UndoSink::record(std::unique_ptr<UndoItem> item) {
    if (chunk_) {
        static_cast<ChunkItem&>(*chunk_).capture.record(std::move(item));
        return;
    }
    keep(std::move(item));
}

void UndoSink::dropChunks() {
    chunkDepth_ = 0;
    chunk_.reset();
}

void UndoQueue::record(std::unique_ptr<UndoItem> item) {
    undone_.clear();
    UndoSink::record(std::move(item));
}

void UndoQueue::keep(std::unique_ptr<UndoItem> item) {
    done_.push_back(std::move(item));
    while (done_.size() > limit_) done_.pop_front();
}

void UndoSink::openChunk(const std::string& name) {
    if (chunkDepth_++ > 0) return;
    auto chunk = std::make_unique<ChunkItem>();
    chunk->name = name;
    chunk_ = std::move(chunk);
}

bool UndoSink::closeChunk() {
    if (chunkDepth_ == 0) return false;
    if (--chunkDepth_ > 0) return true;
    std::unique_ptr<UndoItem> chunk = std::move(chunk_);
    auto& items = static_cast<ChunkItem&>(*chunk).capture.items;
    if (items.empty()) return true;
    const std::string& name = static_cast<ChunkItem&>(*chunk).name;
    chunk->text = name.empty() ? items.back()->text : name;
    keep(std::move(chunk));
    return true;
}

bool UndoQueue::undo(std::string* text) {
    // An undo ends an open chunk first, so that what it holds is undone too.
    closeAllChunks();
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
    closeAllChunks();
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
    dropChunks();
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

UndoSink* enclosingSink() {
    auto& stack = theCommands().sinks;
    if (stack.size() < 2) return &theCommands().undoQueue;
    return stack[stack.size() - 2];
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
