// Bookkeeping of every handle the runtime gives out, so that tests can see what is still open
// and any misuse (use after release, double release, freeing a locked buffer) is reported.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace notessim {

enum class HandleKind { database, memory, exporter, collection, stream, hook, note };

const char* HandleKindName(HandleKind kind);

struct HandleObject {
    virtual ~HandleObject() = default;
};

// Memory handles: plain buffers, compiled formulas and ID tables.
struct MemoryObject : HandleObject {
    int lockCount = 0;
    virtual void* Data() = 0;
    // What OSMemGetSize gives: at least the bytes a lock shows.
    virtual std::size_t Size() const = 0;
    virtual const char* Describe() const = 0;
};

struct MemoryBuffer : MemoryObject {
    std::vector<unsigned char> bytes;
    void* Data() override { return bytes.data(); }
    std::size_t Size() const override { return bytes.size(); }
    const char* Describe() const override { return "buffer"; }
};

// A buffer handle holding `bytes`, its allocation rounded up to a multiple of 16 bytes with
// zeros, as the library's allocator may round it: OSMemGetSize then gives more than the data.
std::uint32_t RegisterBuffer(std::string_view bytes);

std::uint32_t RegisterHandle(HandleKind kind, std::unique_ptr<HandleObject> object);

// The live object of `handle`, or null (and a recorded misuse) when it is not a live handle of
// that kind.
HandleObject* FindHandle(HandleKind kind, std::uint32_t handle, const char* operation);

// The live object of `handle`, or null when it is not a live handle of that kind; nothing is
// recorded, so a caller can ask before choosing how to release a handle.
HandleObject* LiveHandle(HandleKind kind, std::uint32_t handle);

template <typename T>
T* FindHandleAs(HandleKind kind, std::uint32_t handle, const char* operation) {
    return dynamic_cast<T*>(FindHandle(kind, handle, operation));
}

// Releases `handle`; a handle that is not live is recorded as a misuse.
void ReleaseHandle(HandleKind kind, std::uint32_t handle, const char* operation);

void RecordMisuse(std::string text);

struct OpenHandle {
    HandleKind kind;
    std::uint32_t handle;
};
std::vector<OpenHandle> OpenHandles();
std::vector<std::string> HandleMisuses();
void ResetHandles();

}  // namespace notessim
