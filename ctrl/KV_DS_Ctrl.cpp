// KV_DS_Ctrl: the one-shot console program, wired to the platform's adapters.
#include "ctrl/cli/MainRoutine.h"
#include "platform/Ports.h"

namespace {

// Carrying the commands out on the cameras is the camera-dispatch step's
// work; until it is wired in, a run ends after enumeration and the main
// routine's own log lines.
class CommandsNotWiredYet : public kv::ctrl::Dispatcher {
public:
    void Dispatch(const kv::ctrl::ParsedCommand&, const kv::ctrl::CameraTable&, kv::ctrl::CDxWnd&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    const auto system = kv::platform::MakeSystemPorts(argc, argv);
    CommandsNotWiredYet dispatcher;
    return kv::ctrl::RunKvDsCtrl(system->ports(), dispatcher);
}
