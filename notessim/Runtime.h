// The runtime's process-wide state: the chosen environment and its settings.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "notessim/CTypes.h"

namespace notessim {

struct RuntimeState {
    bool initialized = false;
    std::filesystem::path iniFile;
    std::filesystem::path dataDirectory;
    // Every notes.ini line as (name, value), in file order.
    std::vector<std::pair<std::string, std::string>> environment;
    std::uint32_t viewBatch = 500;
    std::uint32_t dxlChunk = 16384;
    // SimDxlOpenHooks=0: the DXL exporter opens notes without calling the note-open hooks, as a
    // library might whose exporter does not raise EM_NSFNOTEOPEN.
    bool dxlOpenHooks = true;
    // SimScanStopStatus: what a scan returns once a callback (or a fault) stopped it, in place of
    // that status; what the real library returns then is not documented.
    std::optional<STATUS> scanStopStatus;
    // SimMemoryLimit: the most bytes the open databases, with a directory a lookup loads, may
    // hold; loading more throws std::bad_alloc, as running out of memory does. 0: no limit.
    std::uint32_t memoryLimit = 0;
    std::string reportFile;  // where TerminateNotes writes the bookkeeping report, if set
    std::string user;        // the user of the current ID
    std::vector<std::string> startupArguments;  // as InitializeNotes received them
    // Memory held by the open databases, now and at most, and the size of their files.
    std::size_t heldBytes = 0;
    std::size_t peakHeldBytes = 0;
    std::size_t peakFileBytes = 0;
    std::size_t fileBytes = 0;
};

RuntimeState& State();

// Throws std::bad_alloc, as running out of memory does, when `bytes` more than the open databases
// hold pass SimMemoryLimit.
void ClaimMemory(std::size_t bytes);

// The value of a notes.ini setting (names compare without regard to case).
std::optional<std::string> EnvironmentValue(std::string_view name);

// Fails with kStatusNotInitialized when the runtime is not started.
STATUS RequireInitialized();

// Everything back to the state of a fresh process: settings, handles, faults, virtual files.
void ResetRuntime();

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace notessim
