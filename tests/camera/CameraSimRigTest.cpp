// The camera object against the simulated rig on the host: what its
// primitives send must land in the modelled bridge and sensor.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "ctrl/camera/DxWnd.h"
#include "sim/host/SimulatedDevices.h"
#include "sim/rig/Session.h"
#include "tests/fakes/FakePorts.h"

namespace kv::test {
namespace {

namespace fs = std::filesystem;

const char* kRig = R"({
  "devices": [
    {"friendlyName": "Other maker", "vendorId": "0x046D", "productId": "0x0825", "interface": 0,
     "instance": "6&11&0&0000"},
    {"friendlyName": "Bridge camera", "productId": "0x0840", "interface": 0, "instance": "6&aa&0&0000",
     "extensionUnits": {"bridge": {"node": 1}}, "registers": {"0x1006": "0x00"},
     "i2cDevices": {"0x21": {"registers": {"0x46": "0x77"}}},
     "engineBusyReads": 2, "engineStatusBits": "0x10"}
  ]})";

class CameraSimRigTest : public ::testing::Test {
protected:
    CameraSimRigTest() {
        folder = fs::temp_directory_path() / ("kv-camera-sim-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
        std::string error;
        auto rig = sim::Rig::FromText(folder / "rig.json", kRig, error);
        EXPECT_TRUE(rig) << error;
        devices = std::make_unique<sim::host::SimulatedDevices>(
            std::make_unique<sim::host::SimContext>(std::move(rig), fakes.clock));
        observer = sim::Rig::FromText(folder / "rig.json", kRig, error);
        session = std::make_unique<sim::Session>(*observer);
    }
    ~CameraSimRigTest() override { fs::remove_all(folder); }

    std::string Dump() {
        std::string text, error;
        EXPECT_TRUE(session->DumpState(text, error)) << error;
        return text;
    }

    fs::path folder;
    FakePorts fakes;
    std::unique_ptr<sim::host::SimulatedDevices> devices;
    std::unique_ptr<sim::Rig> observer;
    std::unique_ptr<sim::Session> session;
};

TEST_F(CameraSimRigTest, PrimitivesReachTheBoundCamerasBridgeAndSensor) {
    platform::Ports ports{fakes.environment,
                          fakes.files,
                          fakes.console,
                          fakes.clock,
                          fakes.ui,
                          fakes.processes,
                          fakes.comApartment,
                          devices->captureDevices(),
                          devices->extensionUnits(),
                          fakes.mediaGraphs,
                          fakes.directUsb,
                          devices->modules(),
                          fakes.registry,
                          fakes.sync,
                          fakes.profileFiles};
    ctrl::FilterPair pair;
    ctrl::KeptLibraries kept;
    ctrl::CDxWnd camera{ports, pair, kept};
    ASSERT_EQ(camera.Device_Init(0xA168, 0x840, "0840&mi_00#6&aa&0&0000"), 1);

    EXPECT_EQ(camera.Asic_Write(0x1006, 0x5A), 1);
    EXPECT_NE(Dump().find("\"0x1006\": 90"), std::string::npos) << Dump();

    std::uint16_t value = 0;
    EXPECT_EQ(camera.Sensor_Read(0x21, 0x46, &value, 1), 1);
    EXPECT_EQ(value, 0x77);
    EXPECT_EQ(camera.Sensor_Write(0x21, 0x46, 0x05, 1), 1);
    EXPECT_EQ(camera.Sensor_Read(0x21, 0x46, &value, 1), 1);
    EXPECT_EQ(value, 0x05);
}

}  // namespace
}  // namespace kv::test
