// Environment port on POSIX.
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/PosixAdapters.h"

namespace kv::platform::posix {

PosixEnvironment::PosixEnvironment(int argc, char** argv) : m_args(argv, argv + argc) {}

std::string PosixEnvironment::RawCommandLine() const {
    std::string line;
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (i > 0) line += ' ';
        // A program path with blanks is quoted, as a Windows shell hands it
        // over, so that the line still tells where the path ends.
        const bool quoted = i == 0 && m_args[i].find_first_of(" \t") != std::string::npos;
        line += quoted ? '"' + m_args[i] + '"' : m_args[i];
    }
    return line;
}

std::string PosixEnvironment::ModulePath() const {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    return length > 0 ? path.substr(0, static_cast<std::size_t>(length)) : std::string();
}

std::string PosixEnvironment::CurrentDirectory() const {
    std::string path(4096, '\0');
    return getcwd(path.data(), path.size()) ? std::string(path.c_str()) : std::string();
}

std::string PosixEnvironment::CommonDocumentsFolder() const {
    for (const char* name : {"KV_COMMON_DOCUMENTS", "XDG_DOCUMENTS_DIR"}) {
        if (const char* value = std::getenv(name); value && *value) return value;
    }
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/Documents";
}

}  // namespace kv::platform::posix
