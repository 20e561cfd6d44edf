#include "catalog/ReplicaIdHook.h"

#include <cstdio>
#include <cstring>

namespace catalog {

std::array<char, 17> FormatReplicaIdText(const notes::TimeDate& replicaId) {
    std::array<char, 17> text{};
    std::snprintf(text.data(), text.size(), "%08X%08X", static_cast<unsigned>(replicaId.innards[1]),
                  static_cast<unsigned>(replicaId.innards[0]));
    return text;
}

notes::NotesStatus AddReplicaIdText(const void* notification) {
    if (notification == nullptr) return notes::kHookContinue;
    const void* arguments = nullptr;
    std::memcpy(&arguments,
                static_cast<const unsigned char*>(notification) + notes::kHookArgumentsOffset,
                sizeof arguments);
    if (arguments == nullptr) return notes::kHookContinue;
    const notes::NoteHandle* notePointer = nullptr;
    std::memcpy(&notePointer,
                static_cast<const unsigned char*>(arguments) +
                    notes::kHookNoteHandleArgument * sizeof(void*),
                sizeof notePointer);
    if (notePointer == nullptr) return notes::kHookContinue;

    const notes::NoteHandle note = *notePointer;
    notes::TimeDate replicaId{};
    if (notes::GetTimeItem(note, "ReplicaId", &replicaId)) {
        const std::array<char, 17> text = FormatReplicaIdText(replicaId);
        notes::SetTextItem(note, "ReplicaIdText", text.data(), 16);  // status not examined
    }
    return notes::kHookContinue;
}

notes::NotesStatus RegisterReplicaIdHook(HookRegistrationOwner& registration) {
    notes::HookRecursionId recursionId = 0;
    if (const notes::NotesStatus status = notes::CreateHookRecursionId(&recursionId); status != 0) {
        return status;
    }
    return notes::RegisterNoteOpenHook(notes::kHookEventNoteOpen, notes::kHookAfterEvent,
                                       AddReplicaIdText, recursionId, registration.Receive());
}

}  // namespace catalog
