// Processes port on POSIX: programs start detached from the program's
// standard streams.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <sstream>
#include <vector>

#include "platform/posix/PosixAdapters.h"

extern char** environ;

namespace kv::platform::posix {

namespace {

class PosixStartedProcess : public StartedProcess {
public:
    explicit PosixStartedProcess(pid_t child) : m_child(child) {}
    bool HasEnded() override {
        if (!m_ended) m_ended = waitpid(m_child, nullptr, WNOHANG) != 0;
        return m_ended;
    }

private:
    pid_t m_child;
    bool m_ended = false;
};

// Spawns argv[0] with its standard streams on /dev/null; 0 when it failed.
pid_t SpawnQuietly(std::vector<std::string>& args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const int stream : {0, 1, 2}) {
        posix_spawn_file_actions_addopen(&actions, stream, "/dev/null", stream == 0 ? O_RDONLY : O_WRONLY, 0);
    }
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int result = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? child : 0;
}

}  // namespace

bool PosixProcesses::StartHidden(const std::string& commandLine) {
    std::vector<std::string> args{"/bin/sh", "-c", commandLine};
    return SpawnQuietly(args) != 0;
}

std::unique_ptr<StartedProcess> PosixProcesses::StartProgramHidden(const std::string& program,
                                                                   const std::string& commandLine) {
    std::vector<std::string> args{program};
    const bool namesProgram = commandLine.compare(0, program.size(), program) == 0;
    std::istringstream words(namesProgram ? commandLine.substr(program.size()) : commandLine);
    for (std::string word; words >> word;) args.push_back(word);
    const pid_t child = SpawnQuietly(args);
    if (child == 0) return nullptr;
    return std::make_unique<PosixStartedProcess>(child);
}

}  // namespace kv::platform::posix
