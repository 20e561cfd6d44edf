// Reading a database file's JSON straight into the runtime's picture of it, as a stream of parse
// events: no JSON tree is built, so loading takes little more memory than the result.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "notessim/Database.h"

namespace notessim {

// The database, or null and the reason in `error`.
std::shared_ptr<SimDatabase> ParseDatabaseJson(std::string_view content, std::string& error);

}  // namespace notessim
