// kvsim's command table and the portable commands.
#include "sim/tool/Commands.h"

#include "sim/rig/Session.h"

#ifdef _WIN32
#include "sim/win32/InstallCommand.h"
#endif

namespace kv::sim::tool {

namespace {

// None of the portable commands takes arguments.
bool NoArguments(const CommandContext& context) {
    if (context.arguments.empty()) return true;
    context.err << "kvsim: unexpected argument \"" << context.arguments.front() << "\"\n";
    return false;
}

int Dump(const CommandContext& context) {
    if (!NoArguments(context)) return 2;
    Session session(context.rig);
    std::string text;
    std::string error;
    if (!session.DumpState(text, error)) {
        context.err << "kvsim: " << error << "\n";
        return 1;
    }
    context.out << text;
    return 0;
}

int Trace(const CommandContext& context) {
    if (!NoArguments(context)) return 2;
    Session session(context.rig);
    std::string text;
    std::string error;
    if (!session.ReadTrace(text, error)) {
        context.err << "kvsim: " << error << "\n";
        return 1;
    }
    context.out << text;
    return 0;
}

int Reset(const CommandContext& context) {
    if (!NoArguments(context)) return 2;
    Session session(context.rig);
    std::string error;
    if (!session.Reset(error)) {
        context.err << "kvsim: " << error << "\n";
        return 1;
    }
    return 0;
}

// The Windows build adds "install" (registering the rig's devices in the
// current Wine prefix) as one more row here.
const Command kCommands[] = {
    {"dump", "print the state of every device as JSON", Dump},
    {"trace", "print the trace of requests, one JSON object per line", Trace},
    {"reset", "restore the rig's initial state and empty the trace", Reset},
#ifdef _WIN32
    {"install", "register the rig's devices in the current Wine prefix", win32::InstallCommand},
    {"uninstall", "remove the devices and records that install wrote", win32::UninstallCommand},
#endif
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

}  // namespace kv::sim::tool
