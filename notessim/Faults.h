// Fault injection: "Operation[#N]:STATUS,..." makes the N-th call (every call without #N) of a
// status-returning operation fail with STATUS without doing its work.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "notessim/CTypes.h"

namespace notessim {

// Replaces the fault table; false (and no faults) when the text is malformed.
bool SetFaults(std::string_view faultList);

// Counts a call of `operation` and gives the status to fail it with, if any.
std::optional<STATUS> TakeFault(std::string_view operation);

// TakeFault for one place in the code, which finds its operation's counter once rather than on
// every call: some operations run for every record of a large scan.
class FaultPoint {
public:
    explicit FaultPoint(std::string_view operation) : operation_(operation) {}
    std::optional<STATUS> Take();

private:
    std::string_view operation_;
    unsigned* calls_ = nullptr;
    unsigned long tableGeneration_ = 0;
};

// How often each status-returning operation was called since the last reset.
std::map<std::string, unsigned, std::less<>> CallCounts();

void ResetFaults();

}  // namespace notessim

// First statement of every status-returning operation.
#define SIM_FAULT_POINT(operation)                                                  \
    do {                                                                            \
        static ::notessim::FaultPoint simFaultPoint(operation);                     \
        if (const auto simFault = simFaultPoint.Take()) return *simFault;           \
    } while (false)
