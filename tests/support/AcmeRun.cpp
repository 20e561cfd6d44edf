#include "tests/support/AcmeRun.h"

namespace testsupport {

AcmeRun::AcmeRun(const std::string& iniLines, const char* mailServer)
    : environment_(scratch_ / "env"), output_(scratch_ / "out") {
    CopyExample("acme", environment_);
    std::filesystem::create_directories(output_);
    iniStart_ = "[Notes]\nDirectory=.\n";
    if (mailServer != nullptr) iniStart_ += std::string("MailServer=") + mailServer + "\n";
    iniStart_ += "SimReport=" + report().string() + "\n";
    ReplaceIniLines(iniLines);
}

void AcmeRun::AddIniLines(const std::string& lines) { ReplaceIniLines(iniLines_ + lines); }

void AcmeRun::ReplaceIniLines(const std::string& lines) {
    iniLines_ = lines;
    WriteIni();
}

void AcmeRun::WriteIni() const { WriteFile(ini(), iniStart_ + iniLines_); }

std::vector<std::string> AcmeRun::Arguments(const std::vector<std::string>& arguments,
                                            const std::filesystem::path& output) const {
    std::vector<std::string> all = {"=" + ini().string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    all.push_back("-o");
    all.push_back(output.string());
    return all;
}

ProcessResult AcmeRun::Run(const std::vector<std::string>& arguments, ProcessOptions options) const {
    std::filesystem::remove(report());
    if (options.workingDirectory.empty()) options.workingDirectory = scratch_.path();
    return RunExporter(Arguments(arguments, output_), options);
}

std::vector<std::string> AcmeRun::Log() const {
    if (!std::filesystem::exists(OutputFile("log.txt"))) return {};
    return LogLinesAfterLibraryLine(OutputFile("log.txt"));
}

}  // namespace testsupport
