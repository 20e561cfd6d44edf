#include "tests/sweep/ParallelRuns.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <map>

#include "tests/support/TestSupport.h"

extern char** environ;

namespace sweep {
namespace {

// posix_spawn rather than fork: nothing runs in the child before the program starts.
pid_t Start(const ProcessRun& run) {
    const std::string program = testsupport::ExporterPath().string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : run.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, run.errorFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = -1;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        child = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

int ExitCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

void RunAll(std::vector<ProcessRun>& runs, unsigned parallel) {
    std::map<pid_t, ProcessRun*> running;
    std::size_t next = 0;
    while (next < runs.size() || !running.empty()) {
        while (next < runs.size() && running.size() < parallel) {
            ProcessRun& run = runs[next++];
            const pid_t child = Start(run);
            if (child > 0) {
                running.emplace(child, &run);
            } else {
                run.exitCode = 127;
            }
        }
        int status = 0;
        const pid_t done = ::waitpid(-1, &status, 0);
        if (done < 0) break;
        if (const auto found = running.find(done); found != running.end()) {
            found->second->exitCode = ExitCode(status);
            running.erase(found);
        }
    }
}

}  // namespace sweep
