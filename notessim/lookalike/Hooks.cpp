// Extension-manager hooks: each EMRegister registration calls its own EMHANDLER with a real
// EMRECORD whose Ap holds NSFNoteOpen's arguments as a va_list.
#include <cstring>

#include "notessim/NoteOpenHooks.h"
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

namespace {

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

STATUS CallAfterNoteOpen(EMHANDLER handler, const notessim::NoteOpenArguments& opened) {
    EMRECORD record{};
    record.EId = EM_NSFNOTEOPEN;
    record.NotificationType = EM_AFTER;
    record.Status = opened.status;  // when not NOERROR, *opened.note was never set
    // NSFNoteOpen's WORD open flags arrive promoted to int, as a variadic argument does.
    return CallHandler(handler, &record, DBHANDLE{opened.database}, NOTEID{opened.id},
                       int{opened.openFlags}, static_cast<NOTEHANDLE*>(opened.note));
}

}  // namespace

STATUS LNPUBLIC EMCreateRecursionID(WORD* retRecursionId) try {
    notes::HookRecursionId recursionId = 0;
    STATUS status = notes::CreateHookRecursionId(&recursionId);
    if (status != NOERROR) return status;
    if (!FitsWord(recursionId, "EMCreateRecursionID", "recursion ID", status)) return status;
    if (retRecursionId != nullptr) *retRecursionId = static_cast<WORD>(recursionId);
    return NOERROR;
} catch (...) {
    return CaughtException("EMCreateRecursionID");
}

STATUS LNPUBLIC EMRegister(EID event, DWORD flags, EMHANDLER handler, WORD recursionId,
                           HEMREGISTRATION* retRegistration) try {
    STATUS refused = NOERROR;
    if (!FitsWord(flags, "EMRegister", "flags", refused)) return refused;
    notessim::NoteOpenHook hook;
    if (handler != nullptr) {
        hook = [handler](const notessim::NoteOpenArguments& opened) {
            return CallAfterNoteOpen(handler, opened);
        };
    }
    return notessim::RegisterNoteOpenFunction(event, static_cast<WORD>(flags), std::move(hook),
                                              recursionId, retRegistration);
} catch (...) {
    return CaughtException("EMRegister");
}

STATUS LNPUBLIC EMDeregister(HEMREGISTRATION registration) try {
    return Release("EMDeregister", notessim::HandleKind::hook, registration,
                   notes::DeregisterHook);
} catch (...) {
    return CaughtException("EMDeregister");
}
