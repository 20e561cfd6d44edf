// Note-open hooks. Every registration holds its own hook (notessim/NoteOpenHooks.h); a team
// HookHandler is called the way the Notes extension manager calls it on 32-bit Windows: with a
// notification record {uint16 event, uint16 notification type (1, after), uint16 the open's
// status, pointer to the argument list at byte 6}. That argument list holds pointer-sized
// entries: database handle, note ID, open flags, and (entry 3) a pointer to the opened note's
// handle.
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "notes/NotesPlatform.h"
#include "notessim/Faults.h"
#include "notessim/NoteOpenHooks.h"
#include "notessim/OpenNotes.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

namespace notessim {
namespace {

struct HookRegistrationObject : HandleObject {
    NoteOpenHook hook;
    notes::HookRecursionId recursionId = 0;
};

struct HookCall {
    NoteOpenHook hook;
    notes::HookRecursionId recursionId;
};

// Recursion IDs whose handler is running: a note opened from inside a handler does not call
// handlers of the same recursion ID again.
std::set<notes::HookRecursionId>& ActiveRecursionIds() {
    static std::set<notes::HookRecursionId> active;
    return active;
}

std::vector<HookCall> RegisteredHooks() {
    std::vector<HookCall> calls;
    for (const OpenHandle& open : OpenHandles()) {  // ascending handle: registration order
        if (open.kind != HandleKind::hook) continue;
        const auto* hook =
            FindHandleAs<HookRegistrationObject>(HandleKind::hook, open.handle, "hook");
        if (hook != nullptr) calls.push_back({hook->hook, hook->recursionId});
    }
    return calls;
}

constexpr std::size_t kRecordSize = notes::kHookArgumentsOffset + sizeof(void*);

notes::NotesStatus CallWithRecord(notes::HookHandler handler, const NoteOpenArguments& opened) {
    const std::uintptr_t arguments[4] = {opened.database, opened.id, opened.openFlags,
                                         reinterpret_cast<std::uintptr_t>(opened.note)};
    const void* argumentList = arguments;
    unsigned char record[kRecordSize] = {};
    const std::uint16_t header[3] = {notes::kHookEventNoteOpen, notes::kHookNotifiedAfter,
                                     opened.status};
    std::memcpy(record, header, sizeof header);
    std::memcpy(record + notes::kHookArgumentsOffset, &argumentList, sizeof argumentList);
    return handler(record);
}

}  // namespace

notes::NotesStatus NotifyNoteOpened(notes::DatabaseHandle database, notes::NoteId id,
                                    notes::NoteHandle note, notes::NotesStatus openStatus) {
    notes::NoteHandle noteHandle = note;
    const NoteOpenArguments arguments{database, id, 0, &noteHandle, openStatus};
    for (const HookCall& call : RegisteredHooks()) {
        if (!ActiveRecursionIds().insert(call.recursionId).second) continue;
        const notes::NotesStatus status = call.hook(arguments);
        ActiveRecursionIds().erase(call.recursionId);
        if (notes::IsStatus(status, notes::kHookContinue)) continue;
        return status;  // 0: handled, no further hooks; else the open fails
    }
    return openStatus;
}

notes::NotesStatus RegisterNoteOpenFunction(std::uint16_t event, std::uint16_t when,
                                            NoteOpenHook hook, notes::HookRecursionId recursionId,
                                            notes::HookRegistration* registration) {
    SIM_FAULT_POINT("RegisterNoteOpenHook");
    if (const notes::NotesStatus status = RequireInitialized(); status != 0) return status;
    if (event != notes::kHookEventNoteOpen) return kStatusUnsupportedEvent;
    if (when != notes::kHookRegisterAfter || !hook) return kStatusUnsupportedHook;
    auto registered = std::make_unique<HookRegistrationObject>();
    registered->hook = std::move(hook);
    registered->recursionId = recursionId;
    *registration = RegisterHandle(HandleKind::hook, std::move(registered));
    return 0;
}

}  // namespace notessim

namespace notes {

using namespace notessim;

NotesStatus CreateHookRecursionId(HookRecursionId* recursionId) {
    SIM_FAULT_POINT("CreateHookRecursionId");
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
    static HookRecursionId last = 0;
    *recursionId = ++last;
    return 0;
}

NotesStatus RegisterNoteOpenHook(std::uint16_t event, std::uint16_t when, HookHandler handler,
                                 HookRecursionId recursionId, HookRegistration* registration) {
    NoteOpenHook hook;
    if (handler != nullptr) {
        hook = [handler](const NoteOpenArguments& opened) { return CallWithRecord(handler, opened); };
    }
    return RegisterNoteOpenFunction(event, when, std::move(hook), recursionId, registration);
}

void DeregisterHook(HookRegistration registration) {
    ReleaseHandle(HandleKind::hook, registration, "DeregisterHook");
}

}  // namespace notes
