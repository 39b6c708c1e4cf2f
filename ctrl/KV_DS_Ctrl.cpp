// KV_DS_Ctrl: the one-shot console program, wired to the ports of the
// platform it runs on.
#include "ctrl/ProgramPorts.h"
#include "ctrl/cli/MainRoutine.h"

namespace {

// Hands the cameras nothing to do: a run that finds cameras ends after
// enumeration and the main routine's own log lines.
class NoCommandDispatch : public kv::ctrl::Dispatcher {
public:
    void Dispatch(const kv::ctrl::ParsedCommand&, const kv::ctrl::CameraTable&, kv::ctrl::CDxWnd&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    const auto system = kv::ctrl::MakeProgramPorts(argc, argv);
    NoCommandDispatch dispatcher;
    return kv::ctrl::RunKvDsCtrl(system->ports(), dispatcher);
}
