// The console program's main routine.
#include "ctrl/cli/MainRoutine.h"

#include <memory>

#include "ctrl/cli/Enumeration.h"
#include "ctrl/cli/HelpText.h"
#include "ctrl/cli/SystemInfoDump.h"
#include "ctrl/common/ProgramPath.h"

namespace kv::ctrl {

namespace {

// The start-up camera object only carries the log lines of the parse phase.
// It is never deleted by the program, so its stream ends the way the process
// end would leave it: without the closing banner.
struct StartupLogger {
    StartupLogger(platform::Ports& ports, RunContext& context)
        : object(ports, context.filterPair(), context.keptLibraries()) {}
    ~StartupLogger() { object.logFile().Abandon(); }
    CDxWnd object;
};

int RunCameraWork(platform::Ports& ports, RunContext& context, Dispatcher& dispatcher, const ParsedCommand& command,
                  CDxWnd& startup) {
    startup.Log("Parameter Analysis");
    ports.comApartment.Initialize();
    startup.Log("CoInitialize");

    auto camera = std::make_unique<CDxWnd>(ports, context.filterPair(), context.keptLibraries());
    camera->Log("new CDxWnd");

    CameraTable table;
    camera->Log("CoCreateInstance");
    std::unique_ptr<platform::DeviceEnumerator> enumerator;
    ports.captureDevices.CreateSystemDeviceEnumerator(enumerator);
    camera->Log("CoCreateInstance Finished");
    const std::string status =
        EnumerateCameras(enumerator.get(), table, [&](const std::string& line) { camera->Log(line); });
    enumerator.reset();  // released while COM is still up
    camera->Log(status);

    if (table.nCamCount() == 0) {
        ports.console.WriteLine(kNoCameraText);
        camera->Log(kNoCameraText);
        // The camera object is left undeleted on this path: no banner.
        camera->logFile().Abandon();
        return 0;
    }

    try {
        dispatcher.Dispatch(command, table, *camera);
    } catch (...) {
        // A command that fails on the way must not cost the run its orderly
        // end or its exit status.
        camera->Log(kFailedStepText);
    }
    camera->Log("All Control finished");
    ports.comApartment.Uninitialize();
    camera->Log("CoUninitialize()");
    camera.reset();  // its log writes the closing banner
    return 0;
}

int RunOnce(platform::Ports& ports, RunContext& context, Dispatcher& dispatcher) {
    StartupLogger startup(ports, context);
    const std::string rawLine = ports.environment.RawCommandLine();
    // The log shows the line as given; the searches see only the arguments.
    const std::string arguments = MaskProgramPath(rawLine, ports.environment.ModulePath());
    StartSystemInfoDumpIfWanted(ports, arguments);

    startup.object.Log(rawLine);
    startup.object.Log(NormaliseCommandLine(rawLine));

    const std::string line = NormaliseCommandLine(arguments);
    const ParsedCommand command = ParseCommandLine(line);
    if (IsHelpRequested(command, line)) {
        PrintHelp(ports.console);
        return 0;
    }
    return RunCameraWork(ports, context, dispatcher, command, startup.object);
}

}  // namespace

int RunKvDsCtrl(platform::Ports& ports, RunContext& context, Dispatcher& dispatcher) {
    try {
        return RunOnce(ports, context, dispatcher);
    } catch (...) {
        // Scripts rely on the exit status being 0 whatever happened.
        return 0;
    }
}

}  // namespace kv::ctrl
