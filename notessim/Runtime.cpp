#include "notessim/Runtime.h"

#include <new>

#include "notessim/Faults.h"
#include "notessim/Files.h"
#include "notessim/Handles.h"
#include "notessim/Statuses.h"

namespace notessim {

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

void ClaimMemory(std::size_t bytes) {
    const RuntimeState& state = State();
    if (state.memoryLimit != 0 && state.heldBytes + bytes > state.memoryLimit) {
        throw std::bad_alloc();
    }
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::optional<std::string> EnvironmentValue(std::string_view name) {
    for (const auto& [key, value] : State().environment) {
        if (EqualsIgnoringCase(key, name)) return value;
    }
    return std::nullopt;
}

STATUS RequireInitialized() { return State().initialized ? 0 : kStatusNotInitialized; }

void ResetRuntime() {
    State() = RuntimeState{};
    ResetHandles();
    ResetFaults();
    ResetDiagnostics();
    ClearVirtualFiles();
}

}  // namespace notessim
