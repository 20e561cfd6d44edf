// The system's reason a platform call failed, kept with the failure up to the run log: the call
// and the error code the system gave (errno on POSIX, GetLastError on Windows).
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct SystemFailure {
    const char* call = nullptr;  // null: nothing failed
    unsigned long code = 0;
};

// `call` with the system's error code of the moment.
SystemFailure FailureOf(const char* call);

// Reports that platform call `call` failed: gives false, and keeps FailureOf(call) in `failure`
// when one is given (`return Failed("link", failure);`).
bool Failed(const char* call, SystemFailure* failure);

// "call(names): the system's text", e.g. "open(temp.tmp): Permission denied"; empty when nothing
// failed.
std::string SystemFailureText(const SystemFailure& failure, std::string_view names);

}  // namespace platform
