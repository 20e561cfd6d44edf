// Hierarchical names: canonical "CN=Jane Doe/O=Acme" and abbreviated "Jane Doe/Acme".
#pragma once

#include <string>
#include <string_view>

namespace notessim {

// "Hub01/Acme" -> "CN=Hub01/O=Acme"; three or more parts "CN=a/OU=b/.../O=z"; canonical and
// single-part names unchanged.
std::string CanonicalizeName(std::string_view name);

// "CN=Mail01/OU=Srv/O=Acme/C=US" -> "Mail01/Srv/Acme/US"; names without "=" unchanged.
std::string AbbreviateName(std::string_view name);

}  // namespace notessim
