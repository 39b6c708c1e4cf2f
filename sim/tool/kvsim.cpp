// kvsim: inspects and resets a simulated camera rig.
#include <iostream>
#include <string>
#include <vector>

#include "sim/rig/Rig.h"
#include "sim/tool/Commands.h"

#ifdef _WIN32
#include "sim/win32/RigLocation.h"
#endif

namespace {

// Under Wine a Unix rig path names the build machine's file, reached through
// drive Z:.
std::filesystem::path PlatformRigPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return kv::sim::win32::WindowsRigPath(path.wstring());
#else
    return path;
#endif
}

void Usage(std::ostream& out) {
    out << "usage: kvsim [--rig FILE] COMMAND\n"
           "  the rig is FILE, else $KV_SIM_RIG, else the demo rig\n"
           "commands:\n";
    for (const auto& command : kv::sim::tool::Commands())
        out << "  " << command.name << "  " << command.summary << "\n";
}

const kv::sim::Command* Find(const std::string& name) {
    for (const auto& command : kv::sim::tool::Commands()) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::filesystem::path rigPath = kv::sim::DefaultRigPath();
    if (args.size() >= 1 && (args[0] == "--help" || args[0] == "-h")) {
        Usage(std::cout);
        return 0;
    }
    if (args.size() >= 2 && args[0] == "--rig") {
        rigPath = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    const kv::sim::Command* command = args.empty() ? nullptr : Find(args[0]);
    if (command == nullptr) {
        if (!args.empty()) std::cerr << "kvsim: unknown command \"" << args[0] << "\"\n";
        Usage(std::cerr);
        return 2;
    }
    std::string error;
    const auto rig = kv::sim::Rig::Load(PlatformRigPath(rigPath), error);
    if (!rig) {
        std::cerr << "kvsim: " << error << "\n";
        return 1;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    return command->run({*rig, rest, std::cout, std::cerr});
}
