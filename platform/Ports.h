// The set of ports that the core is handed; one process-wide set in the
// programs, a set of fakes in the tests.
#pragma once

#include <memory>

#include "platform/CaptureDevices.h"
#include "platform/Clock.h"
#include "platform/ComApartment.h"
#include "platform/Console.h"
#include "platform/DirectUsb.h"
#include "platform/Environment.h"
#include "platform/ExtensionUnitFactory.h"
#include "platform/Files.h"
#include "platform/MediaGraph.h"
#include "platform/Modules.h"
#include "platform/Processes.h"
#include "platform/ProfileFiles.h"
#include "platform/Registry.h"
#include "platform/Sync.h"
#include "platform/Ui.h"

namespace kv::platform {

struct Ports {
    Environment& environment;
    Files& files;
    Console& console;
    Clock& clock;
    Ui& ui;
    Processes& processes;
    ComApartment& comApartment;
    CaptureDevices& captureDevices;
    ExtensionUnitFactory& extensionUnits;
    MediaGraphs& mediaGraphs;
    DirectUsb& directUsb;
    Modules& modules;
    Registry& registry;
    Sync& sync;
    ProfileFiles& profileFiles;
};

// The real adapters of the platform the program was built for.
class SystemPorts {
public:
    virtual ~SystemPorts() = default;
    virtual Ports& ports() = 0;
};

// argc/argv serve the platforms that have no command line of their own.
std::unique_ptr<SystemPorts> MakeSystemPorts(int argc, char** argv);

}  // namespace kv::platform
