// A copy of the sample environment in a scratch folder, with a notes.ini of the test's own,
// and runs of the exporter on it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace testsupport {

class AcmeRun {
public:
    // `iniLines` follow "Directory=." and, unless `mailServer` is null, "MailServer=<it>".
    explicit AcmeRun(const std::string& iniLines = "",
                     const char* mailServer = "CN=Mail01/O=Acme");

    const std::filesystem::path& environment() const { return environment_; }
    const std::filesystem::path& output() const { return output_; }
    std::filesystem::path OutputFile(const std::string& name) const { return output_ / name; }

    // Runs the exporter with `arguments`, the test notes.ini and "-o" the output folder.
    ProcessResult Run(const std::vector<std::string>& arguments, ProcessOptions options = {}) const;

    std::vector<std::string> Log() const;
    // Fails the test when the runtime's report shows a handle left open or misused.
    void ExpectEveryHandleReleased() const;

private:
    ScratchDir scratch_;
    std::filesystem::path environment_;
    std::filesystem::path output_;
    std::filesystem::path ini_;
};

}  // namespace testsupport
