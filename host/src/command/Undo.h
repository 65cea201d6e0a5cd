#pragma once
// The undo queue. Undoable work is recorded as items; the queue keeps a
// bounded history of done items and the undone items that redo can bring
// back. Recording goes to the innermost sink: the queue itself, or a
// modifier capturing the commands it runs.

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace ehost {

class UndoItem {
public:
    virtual ~UndoItem() = default;
    virtual void undo() = 0;
    virtual void redo() = 0;
    std::string text;  // what the journal shows
};

//! Where undoable work is recorded. Items recorded between a chunk's open
//! and its matching close undo and redo as one item of the sink. Chunks
//! nest; only the outermost one makes an item. The name, when given, is
//! what the journal shows; otherwise the chunk's last item's text.
class UndoSink {
public:
    virtual ~UndoSink();
    //! Into the open chunk, if any, otherwise kept by the sink.
    virtual void record(std::unique_ptr<UndoItem> item);
    void openChunk(const std::string& name);
    //! False when no chunk is open.
    bool closeChunk();
    bool chunkOpen() const { return chunkDepth_ > 0; }
    void closeAllChunks() {
        while (chunkOpen()) closeChunk();
    }

protected:
    virtual void keep(std::unique_ptr<UndoItem> item) = 0;
    //! Drops an open chunk and what it holds.
    void dropChunks();

private:
    int chunkDepth_ = 0;
    std::unique_ptr<UndoItem> chunk_;
};

class UndoQueue : public UndoSink {
public:
    void record(std::unique_ptr<UndoItem> item) override;
    //! Undoes the newest item; false when there is none. The text names it.
    bool undo(std::string* text = nullptr);
    bool redo(std::string* text = nullptr);
    //! Forgets everything (new scene, plug-in unload).
    void flush();
    size_t undoable() const { return done_.size(); }
    size_t redoable() const { return undone_.size(); }
    //! The oldest items are dropped beyond this many.
    void setLimit(size_t limit);
    size_t limit() const { return limit_; }
    //! Journal of the recorded items, oldest first.
    std::vector<std::string> journal() const;

protected:
    void keep(std::unique_ptr<UndoItem> item) override;

private:
    std::deque<std::unique_ptr<UndoItem>> done_;
    std::vector<std::unique_ptr<UndoItem>> undone_;
    size_t limit_ = 50;
};

//! Keeps the items recorded while it is the innermost sink, to undo and
//! redo them as one.
class UndoCapture : public UndoSink {
public:
    void undoAll();
    void redoAll();
    std::vector<std::unique_ptr<UndoItem>> items;

protected:
    void keep(std::unique_ptr<UndoItem> item) override { items.push_back(std::move(item)); }
};

//! The innermost sink, or null while recording is off (during undo and redo).
UndoSink* currentSink();
//! Seen from a running command's doIt: the sink the command itself is
//! recorded into, below the capture of what it runs; null while recording
//! is off.
UndoSink* enclosingSink();
class SinkScope {
public:
    explicit SinkScope(UndoSink* sink);
    ~SinkScope();
    SinkScope(const SinkScope&) = delete;
    SinkScope& operator=(const SinkScope&) = delete;
};

bool isUndoing();
bool isRedoing();

}  // namespace ehost
