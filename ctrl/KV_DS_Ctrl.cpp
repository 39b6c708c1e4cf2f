// KV_DS_Ctrl: the one-shot console program, wired to the ports of the
// platform it runs on.
#include "ctrl/ProgramPorts.h"
#include "ctrl/cli/CameraDispatcher.h"
#include "ctrl/cli/MainRoutine.h"
#include "ctrl/xulib/XuLib.h"

int main(int argc, char** argv) {
    const auto system = kv::ctrl::MakeProgramPorts(argc, argv);
    kv::ctrl::xulib_BindPorts(system->ports());
    kv::ctrl::CameraDispatcher dispatcher(system->ports());
    const int status = kv::ctrl::RunKvDsCtrl(system->ports(), dispatcher);
    // The ports must outlive every worker that still uses them.
    kv::ctrl::xulib_FinishLateWorkers();
    return status;
}
