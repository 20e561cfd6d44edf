// Owner objects for the Notes handles of the catalog modes: each releases its handle with the
// matching operation when it goes out of scope, so every way out of a mode releases it.
#pragma once

#include <cstdint>
#include <utility>

#include "notes/NotesPlatform.h"

namespace catalog {

template <void (*ReleaseOperation)(std::uint32_t)>
class NotesHandleOwner {
public:
    NotesHandleOwner() = default;
    ~NotesHandleOwner() { Release(); }
    NotesHandleOwner(const NotesHandleOwner&) = delete;
    NotesHandleOwner& operator=(const NotesHandleOwner&) = delete;
    NotesHandleOwner(NotesHandleOwner&& other) noexcept : handle_(other.Take()) {}
    NotesHandleOwner& operator=(NotesHandleOwner&& other) noexcept {
        if (this != &other) {
            Release();
            handle_ = other.Take();
        }
        return *this;
    }

    std::uint32_t Get() const { return handle_; }

    // The out parameter for the operation that creates the handle.
    std::uint32_t* Receive() {
        Release();
        return &handle_;
    }

    // Releases now; a zero handle is not released.
    void Release() {
        if (handle_ != 0) ReleaseOperation(std::exchange(handle_, 0));
    }

    // Gives the handle up without releasing it, for a release by another operation.
    std::uint32_t Take() { return std::exchange(handle_, 0); }

private:
    std::uint32_t handle_ = 0;
};

using DatabaseOwner = NotesHandleOwner<notes::CloseDatabase>;
// Compiled formulas and ID tables are memory handles.
using MemoryOwner = NotesHandleOwner<notes::FreeMemoryHandle>;
using DxlExporterOwner = NotesHandleOwner<notes::DeleteDxlExporter>;
using HookRegistrationOwner = NotesHandleOwner<notes::DeregisterHook>;

}  // namespace catalog
