// Decimal text to double and back, as std::from_chars and std::to_chars do (general format, a
// given precision). Where the standard library lacks their floating-point forms (GCC 10's, in
// the Debian 11 tree where the Linux release is built) the C library's conversions in the "C"
// locale give the same results.
#pragma once

#include <charconv>

namespace notessim {

// As std::from_chars(first, last, value): out of range (overflow, or underflow to zero) leaves
// `value` as it was.
std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value);

// As std::to_chars(first, last, value, std::chars_format::general, precision).
std::to_chars_result DoubleToChars(char* first, char* last, double value, int precision);

#ifndef _WIN32
// The same through strtod and snprintf, used where the standard library lacks the above.
namespace c_library {
std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value);
std::to_chars_result DoubleToChars(char* first, char* last, double value, int precision);
}  // namespace c_library
#endif

}  // namespace notessim
