// The owner of one Notes handle: releases it with its matching operation when it goes out of
// scope, so every way out of a mode releases what it obtained. Its verbs mean what they mean for
// std::unique_ptr: Reset frees the handle now, Release gives it up without freeing it.
#pragma once

#include <utility>

#include "notes/NotesPlatform.h"

namespace notes {

template <typename Handle, void (*ReleaseOperation)(Handle)>
class HandleOwner {
public:
    HandleOwner() = default;
    explicit HandleOwner(Handle handle) : handle_(handle) {}
    ~HandleOwner() { Reset(); }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    HandleOwner(HandleOwner&& other) noexcept : handle_(other.Release()) {}
    HandleOwner& operator=(HandleOwner&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }

    Handle Get() const { return handle_; }

    // Where an operation stores a new handle; any handle held so far is freed first.
    Handle* Receive() {
        Reset();
        return &handle_;
    }

    // Frees the handle now; a zero handle, which no operation gives out, is not freed.
    void Reset() {
        if (handle_ != 0) ReleaseOperation(std::exchange(handle_, 0));
    }

    // Gives the handle up without freeing it, for a release by another operation.
    [[nodiscard]] Handle Release() { return std::exchange(handle_, 0); }

private:
    Handle handle_ = 0;
};

using DatabaseOwner = HandleOwner<DatabaseHandle, CloseDatabase>;
// Compiled formulas, ID tables and buffers are memory handles.
using MemoryOwner = HandleOwner<MemoryHandle, FreeMemoryHandle>;
using DxlExporterOwner = HandleOwner<DxlExporterHandle, DeleteDxlExporter>;
using HookRegistrationOwner = HandleOwner<HookRegistration, DeregisterHook>;
using CollectionOwner = HandleOwner<CollectionHandle, CloseViewCollection>;
using ActivityStreamOwner = HandleOwner<ActivityStreamHandle, CloseActivityStream>;

}  // namespace notes
