#include "platform/SystemFailure.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/SystemError.h"
#else
#include <cerrno>
#include <cstring>
#endif

namespace platform {

SystemFailure FailureOf(const char* call) {
#ifdef _WIN32
    return {call, ::GetLastError()};
#else
    return {call, static_cast<unsigned long>(errno)};
#endif
}

bool Failed(const char* call, SystemFailure* failure) {
    if (failure != nullptr) *failure = FailureOf(call);
    return false;
}

std::string SystemFailureText(const SystemFailure& failure, std::string_view names) {
    if (failure.call == nullptr) return {};
#ifdef _WIN32
    const std::string text = SystemErrorText(failure.code);
#else
    const std::string text = std::strerror(static_cast<int>(failure.code));
#endif
    return std::string(failure.call) + "(" + std::string(names) + "): " + text;
}

}  // namespace platform
