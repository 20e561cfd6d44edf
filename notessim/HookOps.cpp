// Extension-manager hooks: each EMRegister registration holds its EMHANDLER, called after every
// note the runtime opens with a real EMRECORD whose Ap holds NSFNoteOpen's arguments.
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/OpenNotes.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

using namespace notessim;
using notesapi::EMHANDLER;
using notesapi::EMRECORD;

namespace {

struct HookCall {
    EMHANDLER handler = nullptr;
    WORD recursionId = 0;
};

struct HookRegistrationObject : HandleObject {
    HookCall call;
};

// Recursion IDs whose handler is running: a note opened from inside a handler does not call
// handlers of the same recursion ID again.
std::set<WORD>& ActiveRecursionIds() {
    static std::set<WORD> active;
    return active;
}

std::vector<HookCall> RegisteredHooks() {
    std::vector<HookCall> hooks;
    for (const OpenHandle& open : OpenHandles()) {  // ascending handle: registration order
        if (open.kind != HandleKind::hook) continue;
        const auto* hook =
            FindHandleAs<HookRegistrationObject>(HandleKind::hook, open.handle, "hook");
        if (hook != nullptr) hooks.push_back(hook->call);
    }
    return hooks;
}

// Ap becomes this call's own variable arguments, so the record has each platform's layout: a
// char* at byte 6 on 32-bit Windows (packed), a char* at byte 8 on 64-bit Windows, the va_list
// object itself at byte 8 on Linux x64.
STATUS CallHandler(EMHANDLER handler, EMRECORD* record, ...) {
#if DXL_NOTES_WIN32
    va_list arguments;
    va_start(arguments, record);
    // The packed field is not aligned for a pointer store.
    std::memcpy(reinterpret_cast<unsigned char*>(record) + offsetof(EMRECORD, Ap), &arguments,
                sizeof arguments);
    const STATUS status = handler(record);
    va_end(arguments);
#else
    va_start(record->Ap, record);
    const STATUS status = handler(record);
    va_end(record->Ap);
#endif
    return status;
}

// When `openStatus` is not NOERROR, *note was never set.
STATUS CallAfterNoteOpen(EMHANDLER handler, DHANDLE database, NOTEID id, notesapi::NOTEHANDLE* note,
                         STATUS openStatus) {
    EMRECORD record{};
    record.EId = notesapi::EM_NSFNOTEOPEN;
    record.NotificationType = notesapi::EM_AFTER;
    record.Status = openStatus;
    // NSFNoteOpen's WORD open flags arrive promoted to int, as a variadic argument does.
    return CallHandler(handler, &record, notesapi::DBHANDLE{database}, NOTEID{id}, int{0}, note);
}

}  // namespace

namespace notessim {

STATUS NotifyNoteOpened(DHANDLE database, NOTEID id, DHANDLE note, STATUS openStatus) {
    notesapi::NOTEHANDLE noteHandle = note;
    for (const HookCall& hook : RegisteredHooks()) {
        if (!ActiveRecursionIds().insert(hook.recursionId).second) continue;
        const STATUS status =
            CallAfterNoteOpen(hook.handler, database, id, &noteHandle, openStatus);
        ActiveRecursionIds().erase(hook.recursionId);
        if (IsStatus(status, notesapi::ERR_EM_CONTINUE)) continue;
        return status;  // NOERROR: handled, no further hooks; else the open fails
    }
    return openStatus;
}

}  // namespace notessim

STATUS LNPUBLIC EMCreateRecursionID(WORD* retRecursionId) try {
    SIM_FAULT_POINT("CreateHookRecursionId");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    static std::uint32_t last = 0;
    const std::uint32_t recursionId = ++last;
    STATUS status = 0;
    if (!FitsWord(recursionId, "EMCreateRecursionID", "recursion ID", status)) return status;
    if (retRecursionId != nullptr) *retRecursionId = static_cast<WORD>(recursionId);
    return 0;
} catch (...) {
    return CaughtException("EMCreateRecursionID");
}

STATUS LNPUBLIC EMRegister(notesapi::EID event, DWORD flags, EMHANDLER handler, WORD recursionId,
                           notesapi::HEMREGISTRATION* retRegistration) try {
    STATUS refused = 0;
    if (!FitsWord(flags, "EMRegister", "flags", refused)) return refused;
    SIM_FAULT_POINT("RegisterNoteOpenHook");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    if (event != notesapi::EM_NSFNOTEOPEN) return kStatusUnsupportedEvent;
    if (flags != notesapi::EM_REG_AFTER || handler == nullptr) return kStatusUnsupportedHook;
    auto registered = std::make_unique<HookRegistrationObject>();
    registered->call = {handler, recursionId};
    *retRegistration = RegisterHandle(HandleKind::hook, std::move(registered));
    return 0;
} catch (...) {
    return CaughtException("EMRegister");
}

STATUS LNPUBLIC EMDeregister(notesapi::HEMREGISTRATION registration) try {
    return Release("EMDeregister", HandleKind::hook, registration, "DeregisterHook");
} catch (...) {
    return CaughtException("EMDeregister");
}
