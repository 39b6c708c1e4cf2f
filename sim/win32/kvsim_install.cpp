// kvsim-install: the Windows-only install and uninstall commands of kvsim as
// a program of their own.
//
//   kvsim-install [--rig FILE] [install [--server DLL] | uninstall]
//
// The rig is FILE, else $KV_SIM_RIG, else the demo rig; a Unix path is read
// through drive Z:.
#include <iostream>
#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "sim/rig/Rig.h"
#include "sim/win32/InstallCommand.h"
#include "sim/win32/RigLocation.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::filesystem::path rigPath = kv::sim::DefaultRigPath();
    if (args.size() >= 2 && args[0] == "--rig") {
        rigPath = kv::platform::win32::Widen(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    const std::string command = args.empty() ? "install" : args[0];
    if (command != "install" && command != "uninstall") {
        std::cerr << "usage: kvsim-install [--rig FILE] [install [--server DLL] | uninstall]\n";
        return 2;
    }
    const std::vector<std::string> rest(args.empty() ? args.end() : args.begin() + 1, args.end());
    std::string error;
    const auto rig = kv::sim::Rig::Load(kv::sim::win32::WindowsRigPath(rigPath.wstring()), error);
    if (!rig) {
        std::cerr << "kvsim: " << error << "\n";
        return 1;
    }
    const kv::sim::tool::CommandContext context{*rig, rest, std::cout, std::cerr};
    return command == "install" ? kv::sim::win32::InstallCommand(context) : kv::sim::win32::UninstallCommand(context);
}
