#include "catalog/ReplicaIdHook.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace catalog {

std::array<char, 17> FormatReplicaIdText(const notes::TimeDate& replicaId) {
    std::array<char, 17> text{};
    std::snprintf(text.data(), text.size(), "%08X%08X", static_cast<unsigned>(replicaId.innards[1]),
                  static_cast<unsigned>(replicaId.innards[0]));
    return text;
}

namespace {

unsigned& HookCalls() {
    static unsigned calls = 0;
    return calls;
}

std::uint16_t HeaderWord(const void* notification, std::uint32_t offset) {
    std::uint16_t word = 0;
    std::memcpy(&word, static_cast<const unsigned char*>(notification) + offset, sizeof word);
    return word;
}

}  // namespace

notes::NotesStatus AddReplicaIdText(const void* notification) {
    ++HookCalls();
    if (notification == nullptr) return notes::kHookContinue;
    // Only a call after an open that succeeded has a note: after a failed open the handle the
    // argument list points to was never set.
    if (HeaderWord(notification, notes::kHookNotificationTypeOffset) != notes::kHookNotifiedAfter ||
        HeaderWord(notification, notes::kHookStatusOffset) != 0) {
        return notes::kHookContinue;
    }
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

unsigned ReplicaIdHookCalls() { return HookCalls(); }

notes::NotesStatus RegisterReplicaIdHook(notes::HookRegistrationOwner& registration) {
    HookCalls() = 0;
    notes::HookRecursionId recursionId = 0;
    if (const notes::NotesStatus status = notes::CreateHookRecursionId(&recursionId); status != 0) {
        return status;
    }
    return notes::RegisterNoteOpenHook(notes::kHookEventNoteOpen, notes::kHookRegisterAfter,
                                       AddReplicaIdText, recursionId, registration.Receive());
}

}  // namespace catalog
