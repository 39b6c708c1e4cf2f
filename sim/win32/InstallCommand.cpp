// kvsim install / uninstall: argument handling and what they print.
#include "sim/win32/InstallCommand.h"

#include "platform/win32/WideText.h"
#include "sim/win32/Install.h"

namespace kv::sim::win32 {

namespace {

bool ReadOptions(const CommandContext& context, InstallOptions& options) {
    const auto& args = context.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--server" && i + 1 < args.size()) {
            options.server = platform::win32::Widen(args[++i]);
        } else {
            context.err << "kvsim: unexpected argument \"" << args[i] << "\" (install takes [--server DLL])\n";
            return false;
        }
    }
    return true;
}

void PrintReport(const CommandContext& context, const Rig& rig, const InstallReport& report) {
    context.out << "kvsimcam.dll: " << report.server.string() << "\n"
                << "rig: " << report.rigFile.string() << "\n";
    if (report.removed != 0) context.out << "removed " << report.removed << " device(s) of an earlier install\n";
    switch (rig.description().enumerator) {
    case EnumeratorMode::EmptyCategory:
        context.out << "the rig's video-input category is empty: no device registered\n";
        return;
    case EnumeratorMode::CreateFails:
        context.out << "the rig's device enumerator cannot be created: it is unavailable in this prefix"
                       " until the next install or uninstall\n";
        return;
    case EnumeratorMode::Normal:
        break;
    }
    for (std::size_t i = 0; i < report.instances.size(); ++i) {
        const DeviceListing& listing = rig.Device(i).listing;
        context.out << platform::win32::Narrow(report.instances[i]) << "  "
                    << listing.friendlyName.value_or("(no friendly name)") << "  "
                    << listing.devicePath.value_or("(no device path)") << "\n";
    }
}

}  // namespace

int InstallCommand(const CommandContext& context) {
    InstallOptions options;
    if (!ReadOptions(context, options)) return 2;
    InstallReport report;
    std::string error;
    if (!InstallRig(context.rig, options, report, error)) {
        context.err << "kvsim: " << error << "\n";
        return 1;
    }
    PrintReport(context, context.rig, report);
    return 0;
}

int UninstallCommand(const CommandContext& context) {
    if (!context.arguments.empty()) {
        context.err << "kvsim: unexpected argument \"" << context.arguments.front() << "\"\n";
        return 2;
    }
    std::size_t removed = 0;
    std::string error;
    if (!UninstallRig(removed, error)) {
        context.err << "kvsim: " << error << "\n";
        return 1;
    }
    context.out << "removed " << removed << " device(s), the simulated filter's class and the rig record\n";
    return 0;
}

}  // namespace kv::sim::win32
