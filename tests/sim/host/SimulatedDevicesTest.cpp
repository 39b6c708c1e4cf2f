// The host adapters that serve the ports from a rig: enumeration and property
// bags, binding, the filter's interfaces with the rig's faults, direct USB,
// and the stand-in libraries, each seen in the rig's state and trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "sim/host/SimulatedDevices.h"
#include "tests/fakes/FakePorts.h"

namespace kv::sim::host {
namespace {

namespace fs = std::filesystem;
using platform::kE_NOINTERFACE;
using platform::kS_FALSE;
using platform::kS_OK;

const char* kRig = R"({
  "devices": [
    {"friendlyName": "Bridge camera", "productId": "0x0840", "interface": 0, "instance": "6&aa&0&0000",
     "extensionUnits": {"bridge": {"node": 1}}, "registers": {"0x1006": "0x00"},
     "faults": [{"path": "bridge-xu", "effect": "hang", "ms": 700}]},
    {"friendlyName": "Bare camera", "productId": "0x0870", "devicePath": null,
     "missingInterfaces": ["IKsControl"], "bindFails": true},
    {"friendlyName": "Direct camera", "productId": "0x09B0", "interface": 0, "instance": "6&bb&0&0000",
     "extensionUnits": {"aveo": {"node": 2}}, "directUsb": {"driverId": 0},
     "i2cDevices": {"0x62": {"registers": {"0x03": 6}}}},
    {"friendlyName": "Library camera", "productId": "0x0810", "smi": true,
     "i2cDevices": {"0x78": {"registers": {"0x3A0F": "0x30"}}}}
  ]})";

class SimulatedDevicesTest : public ::testing::Test {
protected:
    SimulatedDevicesTest() {
        folder = fs::temp_directory_path() / ("kv-simhost-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
    }
    ~SimulatedDevicesTest() override { fs::remove_all(folder); }

    SimulatedDevices& Load(const std::string& text) {
        std::string error;
        auto rig = Rig::FromText(folder / "rig.json", text, error);
        EXPECT_TRUE(rig) << error;
        devices = std::make_unique<SimulatedDevices>(std::make_unique<SimContext>(std::move(rig), clock));
        // A second view of the same rig, as kvsim has, to read state and trace.
        observer = Rig::FromText(folder / "rig.json", text, error);
        session = std::make_unique<Session>(*observer);
        return *devices;
    }
    std::string Trace() {
        std::string text, error;
        EXPECT_TRUE(session->ReadTrace(text, error)) << error;
        return text;
    }
    std::string Dump() {
        std::string text, error;
        EXPECT_TRUE(session->DumpState(text, error)) << error;
        return text;
    }
    std::unique_ptr<platform::Moniker> Device(std::size_t index) {
        std::unique_ptr<platform::DeviceEnumerator> enumerator;
        EXPECT_EQ(devices->captureDevices().CreateSystemDeviceEnumerator(enumerator), kS_OK);
        std::unique_ptr<platform::MonikerEnumerator> monikers;
        EXPECT_EQ(enumerator->CreateVideoInputEnumerator(monikers), kS_OK);
        std::unique_ptr<platform::Moniker> moniker;
        for (std::size_t i = 0; i <= index; ++i) EXPECT_EQ(monikers->Next(moniker), kS_OK);
        return moniker;
    }

    fs::path folder;
    test::FakeClock clock;
    std::unique_ptr<SimulatedDevices> devices;
    std::unique_ptr<Rig> observer;
    std::unique_ptr<Session> session;
};

TEST_F(SimulatedDevicesTest, EnumerationShowsTheRigsDevicesInOrder) {
    Load(kRig);
    std::unique_ptr<platform::DeviceEnumerator> enumerator;
    ASSERT_EQ(devices->captureDevices().CreateSystemDeviceEnumerator(enumerator), kS_OK);
    std::unique_ptr<platform::MonikerEnumerator> monikers;
    ASSERT_EQ(enumerator->CreateVideoInputEnumerator(monikers), kS_OK);
    std::vector<std::string> paths;
    std::unique_ptr<platform::Moniker> moniker;
    while (monikers->Next(moniker) == kS_OK) {
        std::unique_ptr<platform::PropertyBag> bag;
        ASSERT_EQ(moniker->BindToStorage(bag), kS_OK);
        std::string path;
        const platform::HResult hr = bag->Read("DevicePath", path);
        paths.push_back(hr == kS_OK ? path : "<none>");
        if (hr != kS_OK) {
            EXPECT_EQ(hr, static_cast<platform::HResult>(0x80070002u)) << "as the system's property bag answers";
        }
    }
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths[0],
              "\\\\?\\usb#vid_a168&pid_0840&mi_00#6&aa&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global");
    EXPECT_EQ(paths[1], "<none>");
    std::unique_ptr<platform::PropertyBag> bag;
    Device(0)->BindToStorage(bag);
    std::string name;
    EXPECT_EQ(bag->Read("FriendlyName", name), kS_OK);
    EXPECT_EQ(name, "Bridge camera");
}

TEST_F(SimulatedDevicesTest, EnumeratorFaults) {
    Load(R"({"enumerator": "empty", "devices": [{"productId": "0x0840"}]})");
    std::unique_ptr<platform::DeviceEnumerator> enumerator;
    ASSERT_EQ(devices->captureDevices().CreateSystemDeviceEnumerator(enumerator), kS_OK);
    std::unique_ptr<platform::MonikerEnumerator> monikers;
    EXPECT_EQ(enumerator->CreateVideoInputEnumerator(monikers), kS_FALSE);
    EXPECT_FALSE(monikers);
    Load(R"({"enumerator": "create-fails", "devices": [{"productId": "0x0840"}]})");
    enumerator.reset();
    EXPECT_TRUE(platform::Failed(devices->captureDevices().CreateSystemDeviceEnumerator(enumerator)));
    EXPECT_FALSE(enumerator);
}

TEST_F(SimulatedDevicesTest, BridgeWriteThroughKsControlReachesStateAndTraceAfterTheHang) {
    Load(kRig);
    std::shared_ptr<platform::Filter> filter;
    ASSERT_EQ(Device(0)->BindToObject(filter), kS_OK);
    std::shared_ptr<platform::KsControl> control;
    ASSERT_EQ(filter->QueryKsControl(control), kS_OK);

    // KSP_NODE: bridge-register set, id 1, set|topology, node 1; then the block.
    std::array<std::uint8_t, 32> property{};
    const auto set = platform::MakeGuid("{28F03370-6311-4A2E-BA2C-6890EB334016}").ToBytes();
    std::copy(set.begin(), set.end(), property.begin());
    property[16] = 1;
    property[20] = 0x02;
    property[23] = 0x10;
    property[24] = 1;
    std::array<std::uint8_t, 4> write{0x06, 0x10, 0x5A, 0x00};
    std::uint32_t returned = 0;
    EXPECT_EQ(control->KsProperty(property.data(), 32, write.data(), 4, &returned), kS_OK);
    EXPECT_EQ(clock.sleeps, std::vector<unsigned>{700});

    EXPECT_NE(Dump().find("\"0x1006\": 90"), std::string::npos) << Dump();
    const std::string trace = Trace();
    EXPECT_NE(trace.find("\"camera\":0,"), std::string::npos) << trace;
    EXPECT_NE(trace.find("bridge-xu"), std::string::npos) << trace;
}

TEST_F(SimulatedDevicesTest, MissingInterfacesAndFailedBinding) {
    Load(kRig);
    std::shared_ptr<platform::Filter> filter;
    EXPECT_EQ(Device(1)->BindToObject(filter), static_cast<platform::HResult>(0x8007001Fu))
        << "as kvsimcam.dll answers";
    EXPECT_FALSE(filter);
    ASSERT_EQ(Device(0)->BindToObject(filter), kS_OK);
    std::shared_ptr<platform::KsTopologyInfo> topology;
    ASSERT_EQ(filter->QueryKsTopologyInfo(topology), kS_OK);
    std::uint32_t nodes = 0;
    EXPECT_EQ(topology->NumNodes(nodes), kS_OK);
    EXPECT_GE(nodes, 2u);
    platform::Guid type;
    EXPECT_EQ(topology->NodeType(1, type), kS_OK);
    EXPECT_EQ(type, platform::MakeGuid("{941C7AC0-C559-11D0-8A2B-00A0C9255AC1}"));
}

TEST_F(SimulatedDevicesTest, DirectUsbListsOpensAndTransfers) {
    Load(kRig);
    auto list = devices->directUsb().ListInit();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Count(), 1u);
    const platform::UsbDeviceEntry* entry = list->FindByVidPid(0xA168, 0x09B0);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->deviceId, "USB\\VID_A168&PID_09B0&MI_00\\6&BB&0&0000");
    EXPECT_FALSE(list->MoveNext());
    EXPECT_FALSE(list->FindByVidPid(0xA168, 0x0990));
    ASSERT_TRUE(list->FindByVidPid(0xA168, 0x09B0));
    std::uint32_t lastError = 0;
    auto handle = list->OpenCurrent(lastError);
    ASSERT_TRUE(handle);
    // FLC level register 3 := 2 through the class request.
    std::array<std::uint8_t, 3> data{0x62, 0x03, 0x02};
    std::uint32_t moved = 0;
    EXPECT_TRUE(handle->ControlTransfer({0x21, 0x01, 0x0302, 0x0300, 3}, data.data(), 3, moved));
    EXPECT_EQ(moved, 3u);
    EXPECT_NE(Dump().find("\"0x03\": 2"), std::string::npos) << Dump();
    platform::UsbPipeInfo pipe;
    EXPECT_FALSE(handle->QueryPipe(0, 0, pipe));
}

TEST_F(SimulatedDevicesTest, StandInLibrariesAnswerByName) {
    Load(kRig);
    const auto smi = devices->modules().Load("SMIUtility.dll");
    ASSERT_TRUE(smi);
    const auto create = reinterpret_cast<int (*)()>(smi->Symbol("SMI_CreateDeviceObject"));
    const auto setSensor = reinterpret_cast<int (*)(int, int, int, int)>(smi->Symbol("SMI_SetSensorRegisterByVidPid"));
    const auto getSensor = reinterpret_cast<int (*)(int, int*, int, int)>(smi->Symbol("SMI_GetSensorRegisterByVidPid"));
    EXPECT_NE(create(), 0) << "no camera bound yet";
    std::shared_ptr<platform::Filter> filter;
    ASSERT_EQ(Device(3)->BindToObject(filter), kS_OK);
    EXPECT_EQ(create(), 0);
    EXPECT_EQ(setSensor(0x3A0F, 0x44, 0x810, 0xA168), 0);
    int value = 0;
    EXPECT_EQ(getSensor(0x3A0F, &value, 0x810, 0xA168), 0);
    EXPECT_EQ(value, 0x44);
    EXPECT_NE(getSensor(0x3A0F, &value, 0x811, 0xA168), 0);  // no such camera
    const auto asicLib = devices->modules().Load("ClientPropertyPageLIB.dll");
    ASSERT_TRUE(asicLib);
    EXPECT_NE(asicLib->Symbol("?ReadAsic@@YAHJPAJ@Z"), nullptr);
    EXPECT_EQ(asicLib->Symbol("ReadAsic"), nullptr) << "only the decorated names are exported";
    EXPECT_EQ(devices->modules().Load("libusbK.dll"), nullptr) << "direct USB is a port of its own";
}

// A machine without a library's DLL, as tests name it in the environment.
TEST_F(SimulatedDevicesTest, LibrariesNamedMissingDoNotLoad) {
    Load(kRig);
    ::setenv("KV_SIM_MISSING_LIBRARIES", "clientpropertypagelib.dll;SMIUtility.dll", 1);
    EXPECT_EQ(devices->modules().Load("SMIUtility.dll"), nullptr);
    EXPECT_EQ(devices->modules().Load("ClientPropertyPageLIB.dll"), nullptr) << "letter case does not matter";
    ::setenv("KV_SIM_MISSING_LIBRARIES", "SMIUtility.dll.old;XSMIUtility.dll", 1);
    EXPECT_NE(devices->modules().Load("SMIUtility.dll"), nullptr) << "whole names only";
    ::unsetenv("KV_SIM_MISSING_LIBRARIES");
    EXPECT_NE(devices->modules().Load("ClientPropertyPageLIB.dll"), nullptr);
}

// The host module offers what the Windows DLL exports, by the same names.
TEST_F(SimulatedDevicesTest, SmiUtilityHasEveryEntryPointTheWindowsLibraryExports) {
    std::ifstream def(KV_SIM_SOURCE_DIR "/sim/win32/SMIUtility.def");
    ASSERT_TRUE(def);
    std::set<std::string> exported;
    for (std::string word; def >> word;) {
        if (word.rfind("SMI_", 0) == 0) exported.insert(word);
    }
    EXPECT_EQ(exported.size(), 28u);
    std::set<std::string> offered;
    for (const auto& [name, entry] : SmiUtilitySymbols()) {
        EXPECT_NE(entry, nullptr) << name;
        offered.insert(name);
    }
    EXPECT_EQ(offered, exported);
}

TEST_F(SimulatedDevicesTest, SmiUtilityIdLessAndPositionCallsReachTheirDevices) {
    Load(kRig);
    const SymbolTable smi = SmiUtilitySymbols();
    const auto set = reinterpret_cast<int (*)(int, int)>(smi.at("SMI_SetSensorRegister"));
    const auto get = reinterpret_cast<int (*)(int, int*)>(smi.at("SMI_GetSensorRegister"));
    const auto getAt = reinterpret_cast<int (*)(int, int*, int, int, int)>(smi.at("SMI_GetSensorRegisterByVidPidIdx"));
    const auto setGpioAt = reinterpret_cast<int (*)(int, int, int, int, int)>(smi.at("SMI_SetGPIOValueByVidPidIdx"));
    const auto getGpioAt = reinterpret_cast<int (*)(int, int*, int, int, int)>(smi.at("SMI_GetGPIOValueByVidPidIdx"));
    const auto getGpio = reinterpret_cast<int (*)(int, int*)>(smi.at("SMI_GetGPIOValue"));

    const auto create = reinterpret_cast<int (*)()>(smi.at("SMI_CreateDeviceObject"));
    const auto destroy = reinterpret_cast<int (*)()>(smi.at("SMI_DestoryDeviceObject"));

    int value = -1;
    EXPECT_EQ(get(0x3A0F, &value), 1) << "no device object yet";
    std::shared_ptr<platform::Filter> filter;
    ASSERT_EQ(Device(3)->BindToObject(filter), kS_OK);
    ASSERT_EQ(create(), 0);
    EXPECT_EQ(get(0x3A0F, &value), 0);
    EXPECT_EQ(value, 0x30);
    EXPECT_EQ(set(0x3A0F, 0x2C), 0);
    // The library camera is the third entry of the program's camera table:
    // the second device has no device path, so the table skips it.
    EXPECT_EQ(getAt(0x3A0F, &value, 0x810, 0xA168, 2), 0);
    EXPECT_EQ(value, 0x2C);
    EXPECT_EQ(getAt(0x3A0F, &value, 0x810, 0xA168, 3), 1) << "the table has three entries";
    EXPECT_EQ(getAt(0x3A0F, &value, 0x810, 0xA168, 0), 1) << "position 0 is another model";
    EXPECT_EQ(setGpioAt(3, 0x04, 0x810, 0xA168, 2), 0);
    EXPECT_EQ(getGpioAt(3, &value, 0x810, 0xA168, 2), 0);
    EXPECT_EQ(value, 0x04);
    value = -1;
    EXPECT_EQ(getGpio(3, &value), 0);
    EXPECT_EQ(value, 0x04);
    EXPECT_EQ(get(0x3A0F, nullptr), 1);
    EXPECT_EQ(destroy(), 0);
    EXPECT_EQ(getGpio(3, &value), 1) << "the device object is gone";

    const std::string trace = Trace();
    EXPECT_NE(trace.find("\"op\":\"set-sensor\",\"register\":14863,\"value\":44"), std::string::npos) << trace;

    const auto render = reinterpret_cast<int (*)()>(smi.at("SMI_CreateVideoRender"));
    const auto ids = reinterpret_cast<int (*)(int*, int*)>(smi.at("SMI_GetVIDPID"));
    int vid = 7, pid = 7;
    EXPECT_EQ(render(), 1);
    EXPECT_EQ(ids(&vid, &pid), 1);
    EXPECT_EQ(vid, 7) << "an entry point outside the model touches nothing";
}

// The library's device object is the camera the program bound last, not the
// first camera of the family in the rig.
TEST_F(SimulatedDevicesTest, SmiUtilityIdLessCallsReachTheCameraTheProgramOpened) {
    Load(R"({"devices":[
      {"productId":"0x0810","smi":{"gpio":[1,0,0,0]}},
      {"productId":"0x0812","smi":{"gpio":[2,0,0,0]}},
      {"productId":"0x0840"}]})");
    const SymbolTable smi = SmiUtilitySymbols();
    const auto create = reinterpret_cast<int (*)()>(smi.at("SMI_CreateDeviceObject"));
    const auto getGpio = reinterpret_cast<int (*)(int, int*)>(smi.at("SMI_GetGPIOValue"));
    std::shared_ptr<platform::Filter> filter;

    ASSERT_EQ(Device(1)->BindToObject(filter), kS_OK);
    ASSERT_EQ(create(), 0);
    int value = -1;
    ASSERT_EQ(getGpio(0, &value), 0);
    EXPECT_EQ(value, 2) << "the 0x0812 the program bound";

    ASSERT_EQ(Device(2)->BindToObject(filter), kS_OK);
    EXPECT_NE(create(), 0) << "the bound camera is not of the library's family";
    EXPECT_NE(getGpio(0, &value), 0);
}

// ReadAsic and WriteAsic reach the camera only between InitialLIB and
// UNInitialLIB; refused calls make no request.
TEST_F(SimulatedDevicesTest, ClientPropertyPageLibWorksOnlyWhileInitialised) {
    Load(R"({"devices":[{"productId":"0x0617","asicLib":true,"registers":{"0x100A":"0x03"}}]})");
    const SymbolTable lib = AsicLibSymbols();
    const auto initial = reinterpret_cast<int (*)()>(lib.at("?InitialLIB@@YAHXZ"));
    const auto read = reinterpret_cast<int (*)(long, long*)>(lib.at("?ReadAsic@@YAHJPAJ@Z"));
    const auto write = reinterpret_cast<int (*)(long, long)>(lib.at("?WriteAsic@@YAHJJ@Z"));
    const auto uninitial = reinterpret_cast<void (*)()>(lib.at("?UNInitialLIB@@YAXXZ"));

    long value = -1;
    EXPECT_EQ(read(0x100A, &value), 0);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(write(0x100A, 0x01), 0);
    EXPECT_EQ(Trace(), "") << "refused before reaching the camera";

    ASSERT_NE(initial(), 0);
    ASSERT_NE(read(0x100A, &value), 0);
    EXPECT_EQ(value, 0x03);
    EXPECT_NE(write(0x100A, 0x01), 0);
    uninitial();
    EXPECT_EQ(read(0x100A, &value), 0);
    EXPECT_EQ(write(0x100A, 0x07), 0);
    EXPECT_NE(Dump().find("\"0x100A\": 1"), std::string::npos) << Dump();
    uninitial();
    const std::string trace = Trace();
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 4) << "init, read, write, uninit: " << trace;
}

}  // namespace
}  // namespace kv::sim::host
