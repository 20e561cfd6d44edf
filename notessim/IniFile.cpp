#include "notessim/IniFile.h"

#include <charconv>
#include <string>

#include "notessim/Faults.h"
#include "notessim/Files.h"
#include "notessim/PathText.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

namespace notessim {
namespace {

bool ParsePositive(const std::string& text, std::uint32_t& value) {
    std::uint32_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed == 0) return false;
    value = parsed;
    return true;
}

// A status in decimal or 0x hexadecimal, 0 to 0xFFFF.
bool ParseStatus(std::string text, std::optional<STATUS>& status) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.erase(0, 2);
        base = 16;
    }
    std::uint32_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        parsed > 0xFFFF) {
        return false;
    }
    status = static_cast<STATUS>(parsed);
    return true;
}

STATUS Malformed(const std::filesystem::path& file, const std::string& what) {
    return Diagnose(kStatusBadEnvironmentFile,
                    "Environment file is damaged: " + PathToUtf8(file) + ": " + what);
}

}  // namespace

STATUS LoadIniFile(const std::filesystem::path& iniFile) {
    const auto content = ReadWholeFile(iniFile);
    if (!content) return kStatusIniNotFound;

    RuntimeState fresh;
    fresh.iniFile = iniFile;
    std::size_t start = 0;
    while (start < content->size()) {
        std::size_t end = content->find('\n', start);
        if (end == std::string::npos) end = content->size();
        std::string line = content->substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';' || EqualsIgnoringCase(line, "[Notes]")) continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        fresh.environment.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }

    const std::filesystem::path folder = iniFile.parent_path();
    fresh.dataDirectory = folder.empty() ? std::filesystem::path(".") : folder;
    State() = std::move(fresh);
    RuntimeState& state = State();
    if (const auto directory = EnvironmentValue("Directory"); directory && !directory->empty()) {
        const std::filesystem::path path = PathFromUtf8(*directory);
        state.dataDirectory = path.is_absolute() ? path : state.dataDirectory / path;
    }
    if (const auto batch = EnvironmentValue("SimViewBatch");
        batch && !ParsePositive(*batch, state.viewBatch)) {
        return Malformed(iniFile, "SimViewBatch=" + *batch);
    }
    if (const auto chunk = EnvironmentValue("SimDxlChunk");
        chunk && !ParsePositive(*chunk, state.dxlChunk)) {
        return Malformed(iniFile, "SimDxlChunk=" + *chunk);
    }
    if (const auto hooks = EnvironmentValue("SimDxlOpenHooks"); hooks) {
        if (*hooks != "0" && *hooks != "1") return Malformed(iniFile, "SimDxlOpenHooks=" + *hooks);
        state.dxlOpenHooks = *hooks == "1";
    }
    if (const auto faults = EnvironmentValue("SimFault"); faults && !SetFaults(*faults)) {
        return Malformed(iniFile, "SimFault=" + *faults);
    }
    if (const auto limit = EnvironmentValue("SimMemoryLimit");
        limit && !ParsePositive(*limit, state.memoryLimit)) {
        return Malformed(iniFile, "SimMemoryLimit=" + *limit);
    }
    if (const auto stop = EnvironmentValue("SimScanStopStatus");
        stop && !ParseStatus(*stop, state.scanStopStatus)) {
        return Malformed(iniFile, "SimScanStopStatus=" + *stop);
    }
    if (const auto report = EnvironmentValue("SimReport")) state.reportFile = *report;
    return 0;
}

}  // namespace notessim
