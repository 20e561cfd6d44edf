// Owners of Notes handles: each releases its handle with the matching operation when it goes
// out of scope, so every way out of a mode releases what it obtained.
#pragma once

#include "notes/NotesPlatform.h"

namespace directory {

template <typename Handle, void (*Release)(Handle)>
class NotesHandleOwner {
public:
    NotesHandleOwner() = default;
    explicit NotesHandleOwner(Handle handle) : handle_(handle) {}
    ~NotesHandleOwner() { Reset(); }
    NotesHandleOwner(const NotesHandleOwner&) = delete;
    NotesHandleOwner& operator=(const NotesHandleOwner&) = delete;

    // Where an operation stores a new handle; any handle held so far is released first.
    Handle* Receive() {
        Reset();
        return &handle_;
    }
    Handle Get() const { return handle_; }
    void Reset() {
        if (handle_ != 0) Release(handle_);
        handle_ = 0;
    }

private:
    Handle handle_ = 0;
};

using DatabaseOwner = NotesHandleOwner<notes::DatabaseHandle, notes::CloseDatabase>;
using CollectionOwner = NotesHandleOwner<notes::CollectionHandle, notes::CloseViewCollection>;
using MemoryOwner = NotesHandleOwner<notes::MemoryHandle, notes::FreeMemoryHandle>;

// A memory handle locked for reading: unlocked, then freed, at the end of the scope.
class LockedMemory {
public:
    explicit LockedMemory(notes::MemoryHandle handle)
        : owner_(handle), data_(notes::LockMemoryHandle(handle)) {}
    ~LockedMemory() {
        if (data_ != nullptr) notes::UnlockMemoryHandle(owner_.Get());
    }
    LockedMemory(const LockedMemory&) = delete;
    LockedMemory& operator=(const LockedMemory&) = delete;

    const unsigned char* Data() const { return static_cast<const unsigned char*>(data_); }

private:
    MemoryOwner owner_;
    void* data_;
};

}  // namespace directory
