#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <thread>

namespace testsupport {

ScratchDir::ScratchDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("dxltest-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code error;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::filesystem::path SourceDir() { return DXL_SOURCE_DIR; }

std::filesystem::path ExporterPath() {
    const char* chosen = std::getenv("DXL_TEST_EXPORTER");
    return chosen != nullptr && chosen[0] != '\0' ? chosen : DXL_EXPORTER_PATH;
}

std::filesystem::path NotesLibraryBesideExporter() {
    return ExporterPath().parent_path() / (ExporterIsWindows() ? "nnotes.dll" : "libnotes.so");
}

bool ExporterIsWindows() {
    std::string extension = ExporterPath().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".exe";
}

bool ExporterRunsInTree() {
    const char* value = std::getenv("DXL_TEST_EXPORTER_IN_TREE");
    return value != nullptr && std::string(value) == "1";
}

std::string ExporterPathText(const std::filesystem::path& path) {
    std::string text = path.string();
    if (!ExporterIsWindows()) return text;
    std::replace(text.begin(), text.end(), '/', '\\');
    // Wine shows the root of the POSIX file system as drive Z:.
    return !text.empty() && text[0] == '\\' ? "Z:" + text : text;
}

char ExporterSeparator() { return ExporterIsWindows() ? '\\' : '/'; }

namespace {

std::filesystem::path WineProgram() {
    if (const char* chosen = std::getenv("DXL_WINE"); chosen != nullptr && chosen[0] != '\0') {
        return chosen;
    }
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / "wine64";
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return "/usr/lib/wine/wine64";  // where Debian's wine64 package puts it
}

// The command line for the program: under Wine, absolute paths (also "=<ini>") and the output
// directory are given as the Windows build sees them.
std::vector<std::string> CommandLine(const std::filesystem::path& program,
                                     const std::vector<std::string>& arguments) {
    std::vector<std::string> command;
    if (!ExporterIsWindows()) {
        command.push_back(program.string());
        command.insert(command.end(), arguments.begin(), arguments.end());
        return command;
    }
    command.push_back(WineProgram().string());
    command.push_back(program.string());
    bool outputValue = false;
    for (const std::string& argument : arguments) {
        if (outputValue || (!argument.empty() && argument[0] == '/')) {
            command.push_back(ExporterPathText(argument));
        } else if (argument.size() > 1 && argument[0] == '=' && argument[1] == '/') {
            command.push_back("=" + ExporterPathText(argument.substr(1)));
        } else {
            command.push_back(argument);
        }
        outputValue = !outputValue && (argument == "-o" || argument == "-O");
    }
    return command;
}

// True once the child `processId` has ended; it is left for RunExporter to reap.
bool HasEnded(int processId) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(processId), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
           info.si_pid != 0;
}

}  // namespace

std::function<void(int)> SignalOnceWritten(const std::filesystem::path& file,
                                           const std::vector<int>& signals, std::uintmax_t bytes) {
    return [=](int processId) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        std::error_code error;
        while (!(std::filesystem::file_size(file, error) >= bytes && !error) &&
               std::chrono::steady_clock::now() < end && !HasEnded(processId)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        for (std::size_t sent = 0; sent < signals.size(); ++sent) {
            if (sent > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            ::kill(processId, signals[sent]);
        }
    };
}

ProcessResult RunExporter(const std::vector<std::string>& arguments, const ProcessOptions& options) {
    if (std::getenv("DXL_TEST_FORBID_EXPORTER") != nullptr) {
        ADD_FAILURE() << "this test runs the program, so the Windows build must run it too: name "
                         "its file *EndToEndTest.cpp or *ProcessTest.cpp (the end-to-end label)";
    }
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const std::vector<std::string> command =
        CommandLine(options.program.empty() ? ExporterPath() : options.program, arguments);
    const bool underWine = ExporterIsWindows();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        if (!options.workingDirectory.empty() && ::chdir(options.workingDirectory.c_str()) != 0) {
            ::_exit(127);
        }
        if (underWine) {
            // Wine's own services, started with the first program, would keep standard error,
            // and with it the test runner's pipe, open for as long as the Wine server lives.
            const int null = ::open("/dev/null", O_WRONLY);
            if (null >= 0) ::dup2(null, STDERR_FILENO);
            // Without a display the version box cannot open and returns at once.
            ::unsetenv("DISPLAY");
            ::unsetenv("WAYLAND_DISPLAY");
            ::setenv("WINEDEBUG", "-all", 0);
        }
        for (const auto& name : options.unsetEnvironment) ::unsetenv(name.c_str());
        for (const auto& [name, value] : options.environment) ::setenv(name.c_str(), value.c_str(), 1);
        // The program as it ships: no signal disposition of the test runner handed down. Under
        // Wine a file-size limit stands for a full disk, a failed write to a Windows program;
        // the signal it also raises is Wine's own, a Linux process's, so Wine ignores it here.
        for (const int signal : {SIGXFSZ, SIGTERM, SIGINT}) ::signal(signal, SIG_DFL);
        if (underWine) ::signal(SIGXFSZ, SIG_IGN);
        for (const auto& [resource, bytes] :
             {std::pair{RLIMIT_FSIZE, options.fileSizeLimit},
              std::pair{RLIMIT_AS, options.addressSpaceLimit}}) {
            const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
            if (bytes >= 0) ::setrlimit(resource, &limit);
        }
        if (options.userId >= 0 && (::setgid(static_cast<gid_t>(options.userId)) != 0 ||
                                    ::setuid(static_cast<uid_t>(options.userId)) != 0)) {
            ::_exit(126);
        }
        if (options.timeLimitSeconds > 0) ::alarm(options.timeLimitSeconds);
        std::vector<char*> argv;
        for (const auto& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    if (options.whileRunning) options.whileRunning(child);
    ProcessResult result;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        result.standardOutput.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::map<std::string, std::string> FaultInjection(
    const std::map<std::string, std::string>& settings) {
    std::map<std::string, std::string> environment = {{"LD_PRELOAD", DXL_FAULT_INJECTION_LIBRARY}};
    // A sanitizer build's runtime wants to be the first library; here it is the second.
    const char* asan = std::getenv("ASAN_OPTIONS");
    environment["ASAN_OPTIONS"] =
        std::string(asan != nullptr ? asan : "") + ":verify_asan_link_order=0";
    for (const auto& [name, value] : settings) environment["DXL_FAULT_" + name] = value;
    return environment;
}

std::vector<std::string> LogLines(const std::filesystem::path& logFile) {
    const std::string content = ReadFile(logFile);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = content.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "log line without CR LF: " << content.substr(start);
            break;
        }
        lines.push_back(content.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> LogLinesAfterLibraryLine(const std::filesystem::path& logFile) {
    std::vector<std::string> lines = LogLines(logFile);
    if (!lines.empty() && lines.front().rfind("#DEBUG# - Notes library: ", 0) == 0) {
        lines.erase(lines.begin());
    }
    return lines;
}

void ExpectEveryHandleReleased(const std::filesystem::path& reportFile, const std::string& what) {
    ExpectEveryHandleReleased(nlohmann::json::parse(ReadFile(reportFile), nullptr, false),
                              "in " + reportFile.string() + " " + what);
}

void ExpectEveryHandleReleased(const nlohmann::json& report, const std::string& what) {
    ASSERT_TRUE(report.is_object()) << "no runtime report " << what;
    EXPECT_EQ(report["openHandles"], nlohmann::json::array()) << what << report.dump();
    EXPECT_EQ(report["misuses"], nlohmann::json::array()) << what << report.dump();
}

std::vector<std::string> ReportDiagnostics(const std::filesystem::path& reportFile) {
    const auto report = nlohmann::json::parse(ReadFile(reportFile), nullptr, false);
    if (!report.is_object() || !report.contains("diagnostics")) {
        ADD_FAILURE() << "no runtime report with diagnostics in " << reportFile;
        return {};
    }
    return report["diagnostics"].get<std::vector<std::string>>();
}

void CopyExample(const std::string& name, const std::filesystem::path& target) {
    std::filesystem::copy(SourceDir() / "examples" / name, target,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

}  // namespace testsupport
