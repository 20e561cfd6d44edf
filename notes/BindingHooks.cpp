// The note-open hook. The library calls an extension-manager handler with its own record and no
// context; the binding registers a handler of its own per registration, takes the opened note's
// handle from the record as the platform lays it out, and hands the program's handler a record
// in the program's shape: {event, when, status} and at kHookArgumentsOffset a pointer to four
// pointer-sized arguments, the fourth pointing to the note's handle.
#include <array>
#include <cstdarg>
#include <cstring>

#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {
namespace {

namespace api = notesapi;

struct Slot {
    HookHandler handler = nullptr;
    HookRegistration registration = 0;
};

constexpr std::size_t kSlots = 4;

std::array<Slot, kSlots>& Slots() {
    static std::array<Slot, kSlots> slots;
    return slots;
}

// The arguments of NSFNoteOpen as the record holds them: (DBHANDLE, NOTEID, WORD, NOTEHANDLE*).
// A va_list on 64-bit platforms and Linux, a pointer to 4-byte slots on 32-bit Windows; va_arg
// reads both. The WORD arrives promoted to int.
struct NoteOpenArguments {
    api::DBHANDLE database;
    api::NOTEID noteId;
    int openFlags;
    api::NOTEHANDLE* note;
};

NoteOpenArguments ReadNoteOpenArguments(api::EMRECORD* record) {
    NoteOpenArguments arguments{};
    va_list list;
    va_copy(list, record->Ap);
    arguments.database = va_arg(list, api::DBHANDLE);
    arguments.noteId = va_arg(list, api::NOTEID);
    arguments.openFlags = va_arg(list, int);
    arguments.note = va_arg(list, api::NOTEHANDLE*);
    va_end(list);
    return arguments;
}

NotesStatus CallProgramHandler(HookHandler handler, const api::EMRECORD& record,
                               const NoteOpenArguments& arguments) {
    // After a failed open the note handle was never set: the program's handler gets 0.
    NoteHandle note = record.Status == api::NOERROR ? *arguments.note : 0;
    const std::uintptr_t list[4] = {arguments.database, arguments.noteId,
                                    static_cast<std::uintptr_t>(arguments.openFlags),
                                    reinterpret_cast<std::uintptr_t>(&note)};
    const void* listAddress = list;
    unsigned char shaped[kHookArgumentsOffset + sizeof(void*)] = {};
    const std::uint16_t header[3] = {record.EId, record.NotificationType, record.Status};
    std::memcpy(shaped, header, sizeof header);
    std::memcpy(shaped + kHookArgumentsOffset, &listAddress, sizeof listAddress);
    return handler(shaped);
}

template <std::size_t slot>
api::STATUS LNCALLBACK RelayHook(api::EMRECORD* record) {
    const HookHandler handler = Slots()[slot].handler;
    if (record == nullptr || handler == nullptr || record->EId != api::EM_NSFNOTEOPEN) {
        return api::ERR_EM_CONTINUE;
    }
    const NoteOpenArguments arguments = ReadNoteOpenArguments(record);
    if (arguments.note == nullptr) return api::ERR_EM_CONTINUE;
    return CallProgramHandler(handler, *record, arguments);
}

template <std::size_t... slot>
constexpr std::array<api::EMHANDLER, kSlots> MakeRelays(std::index_sequence<slot...>) {
    return {RelayHook<slot>...};
}

constexpr std::array<api::EMHANDLER, kSlots> kRelays =
    MakeRelays(std::make_index_sequence<kSlots>());

}  // namespace

using binding::Api;

NotesStatus CreateHookRecursionId(HookRecursionId* recursionId) {
    binding::Received<api::WORD> created;
    return binding::CheckedValue("EMCreateRecursionID",
                                 Api().EMCreateRecursionID(created.Target()), created, recursionId);
}

NotesStatus RegisterNoteOpenHook(std::uint16_t event, std::uint16_t when, HookHandler handler,
                                 HookRecursionId recursionId, HookRegistration* registration) {
    if (!binding::FitsIn<api::WORD>(recursionId)) return kStatusValueOutOfRange;
    std::size_t slot = 0;
    while (slot < kSlots && Slots()[slot].handler != nullptr) ++slot;
    if (slot == kSlots) return kStatusValueOutOfRange;
    binding::Received<api::HEMREGISTRATION> registered;
    Slots()[slot].handler = handler;
    const NotesStatus status = binding::Checked(
        "EMRegister", Api().EMRegister(event, when, kRelays[slot],
                                       static_cast<api::WORD>(recursionId), registered.Target()));
    if (status != 0) {
        Slots()[slot] = {};
        return status;
    }
    Slots()[slot].registration = registered.Value();
    if (registration != nullptr) *registration = registered.Value();
    return 0;
}

void DeregisterHook(HookRegistration registration) {
    binding::Checked("EMDeregister", Api().EMDeregister(registration));
    for (Slot& slot : Slots()) {
        if (slot.handler != nullptr && slot.registration == registration) slot = {};
    }
}

}  // namespace notes
