// The nab.xml that a directory file should give, built straight from its JSON.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// One `user` per person of "($People)" with a "FullName" (its first entry when a list; none for
// an empty list), one `server` per entry of "($Servers)" with a "ServerName", escaped, CR LF.
std::string ExpectedNabXml(const std::filesystem::path& namesNsf);

}  // namespace testsupport
