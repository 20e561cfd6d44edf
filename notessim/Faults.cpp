#include "notessim/Faults.h"

#include <charconv>
#include <map>
#include <string>
#include <vector>

namespace notessim {
namespace {

struct Fault {
    std::string operation;
    unsigned call = 0;  // 0: every call
    STATUS status = 0;
};

struct FaultTable {
    std::vector<Fault> faults;
    std::map<std::string, unsigned, std::less<>> calls;
};

FaultTable& Table() {
    static FaultTable table;
    return table;
}

// Counts the resets of the table, whose counters FaultPoint objects hold on to.
unsigned long& TableGeneration() {
    static unsigned long generation = 1;
    return generation;
}

std::optional<STATUS> FindFault(const FaultTable& table, std::string_view operation,
                                unsigned call) {
    for (const Fault& fault : table.faults) {
        if (fault.operation == operation && (fault.call == 0 || fault.call == call)) {
            return fault.status;
        }
    }
    return std::nullopt;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool ParseNumber(std::string_view text, unsigned long& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseFault(std::string_view text, Fault& fault) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    std::string_view target = Trim(text.substr(0, colon));
    unsigned long status = 0;
    if (!ParseNumber(Trim(text.substr(colon + 1)), status) || status == 0 || status > 0xFFFF) {
        return false;
    }
    if (const auto hash = target.find('#'); hash != std::string_view::npos) {
        unsigned long call = 0;
        if (!ParseNumber(target.substr(hash + 1), call) || call == 0) return false;
        fault.call = static_cast<unsigned>(call);
        target = target.substr(0, hash);
    }
    if (target.empty()) return false;
    fault.operation = std::string(target);
    fault.status = static_cast<STATUS>(status);
    return true;
}

}  // namespace

bool SetFaults(std::string_view faultList) {
    std::vector<Fault> faults;
    while (!Trim(faultList).empty()) {
        const auto comma = faultList.find(',');
        Fault fault;
        if (!ParseFault(faultList.substr(0, comma), fault)) {
            Table().faults.clear();
            return false;
        }
        faults.push_back(std::move(fault));
        if (comma == std::string_view::npos) break;
        faultList.remove_prefix(comma + 1);
    }
    Table().faults = std::move(faults);
    return true;
}

std::optional<STATUS> TakeFault(std::string_view operation) {
    FaultTable& table = Table();
    auto counter = table.calls.find(operation);
    if (counter == table.calls.end()) counter = table.calls.emplace(operation, 0).first;
    return FindFault(table, operation, ++counter->second);
}

std::optional<STATUS> FaultPoint::Take() {
    FaultTable& table = Table();
    if (tableGeneration_ != TableGeneration()) {
        // Map nodes stay where they are until the table is reset.
        calls_ = &table.calls.try_emplace(std::string(operation_), 0).first->second;
        tableGeneration_ = TableGeneration();
    }
    return FindFault(table, operation_, ++*calls_);
}

std::map<std::string, unsigned, std::less<>> CallCounts() { return Table().calls; }

void ResetFaults() {
    Table() = FaultTable{};
    ++TableGeneration();
}

}  // namespace notessim
