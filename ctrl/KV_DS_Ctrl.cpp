// KV_DS_Ctrl: the one-shot console program, wired to the ports of the
// platform it runs on.
#include "ctrl/ProgramPorts.h"
#include "ctrl/cli/CameraDispatcher.h"
#include "ctrl/cli/MainRoutine.h"
#include "ctrl/cli/RunContext.h"

int main(int argc, char** argv) {
    const auto system = kv::ctrl::MakeProgramPorts(argc, argv);
    // The program owns its run context here, and it is the only owner. It
    // is never destroyed: when main returns, COM is already uninitialised
    // (releasing the bound filter then would call into unloaded servers),
    // SMIUtility's device object is never destroyed (so its library stays
    // loaded), and ending the register library would close its cameras a
    // second time. The process's end reclaims it. A register-library worker
    // that outlives every wait holds its own references to what it uses.
    static kv::ctrl::RunContext* const context = new kv::ctrl::RunContext(system->ports());
    kv::ctrl::CameraDispatcher dispatcher(system->ports(), context->counters());
    const int status = kv::ctrl::RunKvDsCtrl(system->ports(), *context, dispatcher);
    // The ports must outlive every worker that still uses them.
    context->FinishLateWorkers();
    return status;
}
