// Fuzz target: what a run reads from outside per camera. The first line is
// the command line, every further line a device path; the cameras go
// through the camera table and the dispatcher's passes and index formulas
// (product ids, device keys, the text comparisons) against a target that
// answers every call and records nothing, and then each camera's device key
// through the camera object's binding, over a category made of the same
// paths (vendor text, key matching, the family loaders).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "ctrl/camera/DxWnd.h"
#include "ctrl/cli/DispatchPasses.h"
#include "ctrl/common/Text.h"
#include "tests/fakes/FakeFilters.h"
#include "tests/fakes/FakePorts.h"

namespace {

class QuietTarget : public kv::ctrl::DispatchTarget {
public:
    int Device_Init(int, int, std::string key) override { return key.empty() ? 0 : 1; }
    void SetWindowHandle(std::uintptr_t) override {}
    void Log(const std::string&) override {}
    void Print(const std::string&) override {}
    int Sensor_Write(int, int, unsigned, int) override { return 1; }
    int Sensor_Read(int, int reg, std::uint16_t* value, int) override {
        *value = static_cast<std::uint16_t>(reg * 0x40C);
        return 1;
    }
    void Sleep(unsigned) override {}
    void TurnLed1OnByModel(int) override {}
    void TurnLed2OnByModel(int) override {}
    void TurnLedOffByModel(int) override {}
    void SetAntiFlickerByModel(int, int, int) override {}
    void SetFlcSwitch(int, int, int) override {}
    void SetFlcLevel(int, int, int) override {}
    void InitByModel(int, int) override {}
    void SetAutoExposureByModel(int, int, int) override {}
    void SetExposureValueByModel(int, int, int) override {}
    void SaveExposureSettings(int, int) override {}
    void LoadExposureSettings(int, int) override {}
    void OpenDirectUsbDevice() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    std::getline(in, line);
    const auto command = kv::ctrl::ParseCommandLine(kv::ctrl::NormaliseCommandLine("kv_ds_ctrl.exe " + line));
    kv::ctrl::CameraTable table;
    std::vector<std::string> paths;
    while (std::getline(in, line) && paths.size() < kv::ctrl::CameraTable::kCapacity) {
        paths.push_back(kv::ctrl::ToLower(line));
        table.Add(paths.back());
    }
    if (table.nCamCount() == 0) return 0;
    kv::ctrl::DispatchCounters counters;
    QuietTarget target;
    kv::ctrl::DispatchCommand(command, table, target, counters);
    if (counters.m_n09b0Count > table.nCamCount() || counters.m_notzelmar > table.nCamCount()) std::abort();

    kv::test::FakePorts fake;
    fake.environment.rawCommandLine = "kv_ds_ctrl.exe";
    for (const std::string& path : paths) fake.captureDevices.AddDevice(path, std::make_shared<kv::test::FakeFilter>());
    kv::ctrl::FilterPair filterPair;
    kv::ctrl::KeptLibraries kept;
    kv::ctrl::CDxWnd camera(fake.ports, filterPair, kept);
    for (int i = 0; i < table.nCamCount(); ++i) {
        const int productId = kv::ctrl::ProductIdFromPidText(kv::ctrl::PidText(table.at(i).strInstance));
        camera.Device_Init(kv::ctrl::kKorvexVendorId, productId, table.at(i).strPathTail);
    }
    return 0;
}
