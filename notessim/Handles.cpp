#include "notessim/Handles.h"

#include <map>

namespace notessim {
namespace {

struct Entry {
    HandleKind kind;
    std::unique_ptr<HandleObject> object;
};

struct Registry {
    std::map<std::uint32_t, Entry> live;
    std::uint32_t next = 0x100;
    std::vector<std::string> misuses;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

std::string Describe(HandleKind kind, std::uint32_t handle, const char* operation) {
    return std::string(operation) + ": " + HandleKindName(kind) + " handle " +
           std::to_string(handle);
}

}  // namespace

const char* HandleKindName(HandleKind kind) {
    switch (kind) {
        case HandleKind::database: return "database";
        case HandleKind::memory: return "memory";
        case HandleKind::exporter: return "DXL exporter";
        case HandleKind::collection: return "collection";
        case HandleKind::stream: return "activity stream";
        case HandleKind::hook: return "hook registration";
        case HandleKind::note: return "note";
    }
    return "unknown";
}

std::uint32_t RegisterHandle(HandleKind kind, std::unique_ptr<HandleObject> object) {
    Registry& registry = TheRegistry();
    // Numbers are never reused, so a released handle stays recognisable.
    const std::uint32_t handle = registry.next++;
    registry.live.emplace(handle, Entry{kind, std::move(object)});
    return handle;
}

HandleObject* LiveHandle(HandleKind kind, std::uint32_t handle) {
    Registry& registry = TheRegistry();
    const auto found = registry.live.find(handle);
    if (found == registry.live.end() || found->second.kind != kind) return nullptr;
    return found->second.object.get();
}

HandleObject* FindHandle(HandleKind kind, std::uint32_t handle, const char* operation) {
    HandleObject* object = LiveHandle(kind, handle);
    if (object == nullptr) RecordMisuse(Describe(kind, handle, operation) + " is not open");
    return object;
}

void ReleaseHandle(HandleKind kind, std::uint32_t handle, const char* operation) {
    Registry& registry = TheRegistry();
    const auto found = registry.live.find(handle);
    if (found == registry.live.end() || found->second.kind != kind) {
        RecordMisuse(Describe(kind, handle, operation) + " released but not open");
        return;
    }
    if (auto* memory = dynamic_cast<MemoryObject*>(found->second.object.get());
        memory != nullptr && memory->lockCount > 0) {
        RecordMisuse(Describe(kind, handle, operation) + " freed while locked");
    }
    registry.live.erase(found);
}

std::uint32_t RegisterBuffer(std::string_view bytes) {
    auto buffer = std::make_unique<MemoryBuffer>();
    buffer->bytes.assign(bytes.begin(), bytes.end());
    buffer->bytes.resize((bytes.size() + 15) / 16 * 16, 0);
    return RegisterHandle(HandleKind::memory, std::move(buffer));
}

void RecordMisuse(std::string text) { TheRegistry().misuses.push_back(std::move(text)); }

std::vector<OpenHandle> OpenHandles() {
    std::vector<OpenHandle> open;
    for (const auto& [handle, entry] : TheRegistry().live) open.push_back({entry.kind, handle});
    return open;
}

std::vector<std::string> HandleMisuses() { return TheRegistry().misuses; }

void ResetHandles() { TheRegistry() = Registry{}; }

}  // namespace notessim
