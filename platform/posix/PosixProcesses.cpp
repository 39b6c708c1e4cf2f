// Processes port on POSIX: commands run through /bin/sh, detached from the
// program's standard streams.
#include <fcntl.h>
#include <spawn.h>

#include "platform/posix/PosixAdapters.h"

extern char** environ;

namespace kv::platform::posix {

bool PosixProcesses::StartHidden(const std::string& commandLine) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const int stream : {0, 1, 2}) {
        posix_spawn_file_actions_addopen(&actions, stream, "/dev/null", stream == 0 ? O_RDONLY : O_WRONLY, 0);
    }
    std::string shell = "/bin/sh";
    std::string option = "-c";
    std::string command = commandLine;
    char* argv[] = {shell.data(), option.data(), command.data(), nullptr};
    pid_t child = 0;
    const int result = posix_spawn(&child, "/bin/sh", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0;
}

}  // namespace kv::platform::posix
