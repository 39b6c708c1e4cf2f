// Reading rig files: the demo rig, defaults, listing faults, look-ups, and
// errors that name the file and the field.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "sim/hw/Camera.h"
#include "sim/rig/RigFile.h"
#include "tests/sim/rig/RigTestSupport.h"

namespace kv::sim::test {
namespace {

RigDescription Parse(const std::string& text) {
    RigDescription description;
    std::string error;
    EXPECT_TRUE(ParseRigText(text, description, error)) << error;
    return description;
}

std::string ErrorOf(const std::string& text) {
    RigDescription description;
    std::string error;
    EXPECT_FALSE(ParseRigText(text, description, error)) << text;
    return error;
}

TEST(RigFileTest, DemoRigHasACameraOfEveryPath) {
    const auto rig = LoadRig(KV_SIM_SOURCE_DIR "/sim/rigs/demo.json");
    ASSERT_TRUE(rig);
    bool bridge = false, plugin = false, aveoFlc = false, usb09b0 = false, driver = false, smi = false, other = false;
    for (std::size_t i = 0; i < rig->DeviceCount(); ++i) {
        const CameraConfig& c = rig->Device(i).config;
        bridge |= c.bridgeXu.present && c.i2cDevices.count(0x5D) != 0;
        plugin |= c.pluginXu.present;
        aveoFlc |= c.aveoXu.present && c.i2cDevices.count(0x62) != 0;
        usb09b0 |= c.directUsb && c.productId == 0x09B0;
        driver |= c.driverProperties;
        smi |= c.smi && c.productId >= 0x810 && c.productId <= 0x813;
        other |= c.vendorId != 0xA168;
    }
    EXPECT_TRUE(bridge && plugin && aveoFlc && usb09b0 && driver && smi && other);
    EXPECT_EQ(rig->Device(2).listing.devicePath,
              "\\\\?\\usb#vid_a168&pid_0990&mi_00#6&1a2b3c90&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global");
    EXPECT_EQ(rig->Device(3).listing.usbInstanceId, "USB\\VID_A168&PID_09B0&MI_00\\6&1A2B3CB0&0&0000");
    EXPECT_EQ(rig->statePath().filename(), "demo.state.json");
    EXPECT_EQ(rig->tracePath().filename(), "demo.trace.jsonl");
    EXPECT_EQ(rig->lockPath().filename(), "demo.lock");
}

TEST(RigFileTest, EveryReadyRigLoads) {
    int rigs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KV_SIM_SOURCE_DIR "/sim/rigs")) {
        if (entry.path().extension() != ".json" || entry.path().string().find(".state.") != std::string::npos) continue;
        std::string error;
        EXPECT_TRUE(Rig::Load(entry.path(), error)) << error;
        ++rigs;
    }
    EXPECT_GE(rigs, 2);
}

bool HasFamily(const Rig& rig, std::uint16_t first, std::uint16_t last) {
    for (std::size_t i = 0; i < rig.DeviceCount(); ++i) {
        const std::uint16_t pid = rig.Device(i).config.productId;
        if (rig.Device(i).config.vendorId == 0xA168 && pid >= first && pid <= last) return true;
    }
    return false;
}

TEST(RigFileTest, FamiliesRigHasACameraOfEveryProductIdFamily) {
    const auto rig = LoadRig(KV_SIM_SOURCE_DIR "/sim/rigs/families.json");
    ASSERT_TRUE(rig);
    const std::pair<std::uint16_t, std::uint16_t>
        families[] = {{0x850, 0x852}, {0x710, 0x716}, {0x880, 0x889}, {0x900, 0x909}, {0x920, 0x929},
                      {0x910, 0x919}, {0x9A0, 0x9AF}, {0x811, 0x813}, {0x611, 0x615}, {0x9B1, 0x9BF},
                      {0x840, 0x848}, {0x820, 0x820}, {0x825, 0x825}};  // the two GPIO LED patterns of lines 4 and 0
    for (const auto& [first, last] : families) EXPECT_TRUE(HasFamily(*rig, first, last)) << std::hex << first;

    bool plugin90x = false, aveo92x = false, silentEngine = false, busy = false, extraBits = false;
    for (std::size_t i = 0; i < rig->DeviceCount(); ++i) {
        const CameraConfig& c = rig->Device(i).config;
        plugin90x |= c.pluginXu.present && c.productId >= 0x900 && c.productId <= 0x929;
        aveo92x |= c.aveoXu.present && c.productId >= 0x900 && c.productId <= 0x929;
        silentEngine |= c.bridgeXu.present && c.i2cDevices.count(0x5D) != 0 && !c.i2cDevices.at(0x5D).acknowledges;
        busy |= c.engineBusyReads > 0;
        extraBits |= c.engineStatusBits != 0;
        if (c.productId >= 0x9A0 && c.productId <= 0x9AF) {
            // The camera object's requests name node 1; the library's probe
            // walks the device-specific nodes in order and takes the Aveo set
            // on a later one.
            EXPECT_TRUE(c.bridgeXu.present && c.bridgeXu.node == 1);
            EXPECT_TRUE(c.aveoXu.present && c.aveoXu.node > 1);
        }
    }
    EXPECT_TRUE(plugin90x && aveo92x && silentEngine && busy && extraBits);
}

// Read-modify-write recipes are judged by their starting values: every
// register a recipe reads starts non-zero and unlike the others of its
// device, so reading the wrong one or writing without reading shows.
TEST(RigFileTest, ReadyRigsStartRecipeRegistersFromDistinctNonZeroValues) {
    struct Read {
        std::uint16_t first, last;
        int slave;
        std::vector<std::uint32_t> registers;
    };
    const std::vector<Read> reads = {
        {0x840, 0x848, 0x5D, {0x01, 0x03, (2u << 16) | 0x23, (2u << 16) | 0x2E, (2u << 16) | 0x5B}},
        {0x850, 0x852, 0x20, {0x10}},
        {0x710, 0x716, 0x21, {0x24, 0x25}},
        {0x870, 0x899, 0x48, {0x0015, 0x0016, 0x0018, 0x001D, 0x0120, 0x0380, 0x038E, 0x085A, 0x085B, 0x085C}},
        {0x910, 0x919, 0x48, {0x0015, 0x0016, 0x0018, 0x001D, 0x0120, 0x0380, 0x038E, 0x085A, 0x085B, 0x085C}},
        {0x900, 0x909, 0x78, {0x3503, 0x3A0F, 0x3A10, 0x3A1B, 0x3A1E}},
        {0x920, 0x929, 0x78, {0x3503, 0x3A0F, 0x3A10, 0x3A1B, 0x3A1E}},
        {0x960, 0x99F, 0x78, {0x3503, 0x3A0F, 0x3A10, 0x3A1B, 0x3A1E}},
        {0x9A0, 0x9AF, 0x21, {0x24, 0x25}},
        {0x9B0, 0x9B0, 0x78, {0x3503, 0x3A0F, 0x3A10, 0x3A1B, 0x3A1E}},
        {0x810, 0x813, 0x78, {0x3503, 0x3A0F, 0x3A10, 0x3A1B, 0x3A1E}},
        {0x870, 0x929, -1, {0x05, 0x06, 0x80, 0x84}},
        {0x840, 0x849, -1, {0x1006, 0x1007}},
        {0x820, 0x825, -1, {0x1006, 0x1007}},
        {0x820, 0x825, 0x21, {0x13, 0x22, 0x23, 0x24, 0x25}},
    };
    int checked = 0;
    for (const char* name : {"/sim/rigs/demo.json", "/sim/rigs/families.json"}) {
        const auto rig = LoadRig(std::string(KV_SIM_SOURCE_DIR) + name);
        ASSERT_TRUE(rig);
        for (std::size_t i = 0; i < rig->DeviceCount(); ++i) {
            const RigDevice& device = rig->Device(i);
            for (const Read& read : reads) {
                const std::uint16_t pid = device.config.productId;
                if (pid < read.first || pid > read.last) continue;
                if (read.slave >= 0 && !device.config.i2cDevices.at(static_cast<std::uint8_t>(read.slave)).acknowledges)
                    continue;
                std::set<std::uint32_t> seen;
                for (const std::uint32_t reg : read.registers) {
                    std::uint32_t value = 0;
                    if (read.slave < 0) {
                        const auto& registers = device.initial.bridge.registers;
                        value = registers.count(static_cast<std::uint16_t>(reg))
                                    ? registers.at(static_cast<std::uint16_t>(reg))
                                    : 0;
                    } else {
                        const auto& registers =
                            device.initial.i2cDevices.at(static_cast<std::uint8_t>(read.slave)).registers;
                        value = registers.count(reg) ? registers.at(reg) : 0;
                    }
                    EXPECT_NE(value, 0u) << name << " device " << i << " register 0x" << std::hex << reg;
                    EXPECT_TRUE(seen.insert(value).second)
                        << name << " device " << i << " register 0x" << std::hex << reg;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 80);
}

TEST(RigFileTest, EngineStatusBitsAreOnlyTheOnesTheEngineDoesNotUse) {
    EXPECT_EQ(Parse(R"({"devices":[{"productId":1,"engineStatusBits":"0x30"}]})").devices[0].config.engineStatusBits,
              0x30);
    for (const char* bits : {"0x04", "0x08", "0x01", "0x100"}) {
        const std::string text = std::string(R"({"devices":[{"productId":1,"engineStatusBits":")") + bits + "\"}]}";
        EXPECT_NE(ErrorOf(text).find("engineStatusBits"), std::string::npos) << bits;
    }
}

TEST(RigFileTest, BusDevicesTakeTheirWidthsFromTheirAddressUnlessGiven) {
    const RigDescription description = Parse(R"({"devices":[{"productId":"0x840","i2cDevices":{
        "0x5D":{"pages":{"2":{"0x37":"0x8200"}}}, "0x46":{"lastByte":7},
        "0x50":{"addressWidth":2,"valueWidth":2,"acknowledge":false,"port":1}, "0x78":{"valueWidth":2}}}]})");
    const CameraConfig& c = description.devices[0].config;
    EXPECT_TRUE(c.i2cDevices.at(0x5D).paged);
    EXPECT_EQ(c.i2cDevices.at(0x5D).valueWidth, 2);
    EXPECT_EQ(c.i2cDevices.at(0x46).addressWidth, 0);
    EXPECT_FALSE(c.i2cDevices.at(0x50).acknowledges);
    EXPECT_EQ(c.i2cDevices.at(0x50).port, 1);
    EXPECT_EQ(c.i2cDevices.at(0x78).port, 0) << "on no port unless the rig says";
    EXPECT_EQ(c.i2cDevices.at(0x78).addressWidth, 2);
    EXPECT_EQ(c.i2cDevices.at(0x78).valueWidth, 2);
    EXPECT_EQ(description.devices[0].initial.i2cDevices.at(0x5D).registers.at((2u << 16) | 0x37), 0x8200);
    EXPECT_EQ(description.devices[0].initial.i2cDevices.at(0x46).lastByte, 7);
}

TEST(RigFileTest, TheSmiSensorIsTheDeviceItsAddressStandsForWhenTheRigListsNone) {
    const RigDescription description = Parse(R"({"devices":[{"productId":"0x810","smi":true},
        {"productId":"0x812","smi":{"sensor":"0x5D"}},
        {"productId":"0x813","smi":{"sensor":"0x78"},"i2cDevices":{"0x78":{"acknowledge":false}}}]})");
    ASSERT_EQ(description.devices[0].config.i2cDevices.count(0x78), 1u);
    EXPECT_EQ(description.devices[0].config.i2cDevices.at(0x78).addressWidth, 2);
    EXPECT_TRUE(description.devices[1].config.i2cDevices.at(0x5D).paged);
    EXPECT_FALSE(description.devices[2].config.i2cDevices.at(0x78).acknowledges) << "a listed device stays as listed";

    CameraState state = description.devices[0].initial;
    Camera camera(description.devices[0].config, state);
    std::int32_t value = 0;
    EXPECT_EQ(camera.SmiSetSensorRegister(0x3503, 7).hr, 0);
    EXPECT_EQ(camera.SmiGetSensorRegister(0x3503, value).hr, 0);
    EXPECT_EQ(value, 7);
}

TEST(RigFileTest, ListingFaultsAndEnumeratorModes) {
    const RigDescription description = Parse(R"({"enumerator":"empty","devices":[
        {"productId":1,"devicePath":null,"friendlyName":null,"bindFails":true,"missingInterfaces":["IKsTopologyInfo"]},
        {"productId":2,"devicePath":"usb#vid_a168&pid_"}]})");
    EXPECT_EQ(description.enumerator, EnumeratorMode::EmptyCategory);
    EXPECT_FALSE(description.devices[0].listing.devicePath);
    EXPECT_FALSE(description.devices[0].listing.friendlyName);
    EXPECT_TRUE(description.devices[0].listing.bindFails);
    EXPECT_TRUE(description.devices[0].listing.Lacks("IKsTopologyInfo"));
    EXPECT_FALSE(description.devices[0].listing.Lacks("IKsControl"));
    EXPECT_EQ(description.devices[1].listing.devicePath, "usb#vid_a168&pid_") << "a malformed path is kept verbatim";
    EXPECT_EQ(Parse(R"({"enumerator":"create-fails","devices":[]})").enumerator, EnumeratorMode::CreateFails);
}

TEST(RigFileTest, PropertiesDefaultToAUsualCameraAndCanBeReplaced) {
    const RigDescription description = Parse(R"({"devices":[{"productId":1},
        {"productId":2,"videoProcAmp":{"1":{"min":0,"max":10,"value":4}},"cameraControl":{},
         "driverProperties":{"29":1}}]})");
    EXPECT_EQ(description.devices[0].config.videoProcAmp.count(5), 1u);
    EXPECT_EQ(description.devices[0].config.cameraControl.count(4), 1u);
    EXPECT_FALSE(description.devices[0].config.driverProperties);
    EXPECT_EQ(description.devices[1].config.videoProcAmp.size(), 1u);
    EXPECT_EQ(description.devices[1].initial.videoProcAmp.at(1).value, 4);
    EXPECT_TRUE(description.devices[1].config.cameraControl.empty());
    EXPECT_EQ(description.devices[1].config.driverPropertyIds, std::set<std::uint32_t>{29});
    EXPECT_EQ(description.devices[1].initial.driverProperties.at(29), 1);
}

TEST(RigFileTest, FaultsAreRead) {
    const RigDescription description = Parse(R"({"devices":[{"productId":1,"faults":[
        {"path":"plugin-xu","op":"set","id":5,"effect":"fail","hresult":"0x80070005"},
        {"path":"aveo-xu","effect":"hang","ms":800}]}]})");
    const auto& faults = description.devices[0].config.faults;
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_EQ(faults[0].op, "set");
    EXPECT_EQ(faults[0].id, 5u);
    EXPECT_EQ(faults[0].hr, static_cast<HResult>(0x80070005u));
    EXPECT_TRUE(faults[1].hang);
    EXPECT_EQ(faults[1].hangMs, 800u);
    EXPECT_FALSE(faults[1].hr);
}

TEST(RigFileTest, LookUpsForTheStandInLibraries) {
    ScratchDir dir;
    std::string error;
    const auto rig = Rig::FromText(dir.path() / "r.json", R"({"devices":[{"productId":"0x840"},
        {"vendorId":"0x0C45","productId":"0x810"},{"productId":"0x810","smi":true},{"productId":"0x9B0","directUsb":true},
        {"productId":"0x617","asicLib":true}]})",
                                   error);
    ASSERT_TRUE(rig) << error;
    EXPECT_EQ(rig->FindByVidPid(0xA168, 0x810), 2);
    EXPECT_EQ(rig->FindByVidPidPosition(0xA168, 0x810, 1), 2) << "positions count this vendor's devices only";
    EXPECT_EQ(rig->FindByVidPidPosition(0xA168, 0x810, 0), -1);
    EXPECT_EQ(rig->FindByVidPidPosition(0xA168, 0x810, 7), -1);
    EXPECT_EQ(rig->SmiDevices(), std::vector<int>{2});
    EXPECT_EQ(rig->DirectUsbDevices(), std::vector<int>{3});
    EXPECT_EQ(rig->AsicLibDevices(), std::vector<int>{4});
}

TEST(RigFileTest, ErrorsNameTheField) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"devices":[{}]})", "devices[0].productId: missing"},
        {R"({"devices":[{"productId":"0x1G"}]})", "devices[0].productId: expected an integer"},
        {R"({"devices":[{"productId":70000}]})", "devices[0].productId: must be from 0 to 0xFFFF"},
        {R"({"devices":[{"productId":1,"prodId":2}]})", "devices[0].prodId: unknown field"},
        {R"({"devices":[{"productId":1,"i2cDevices":{"0x50":{}}}]})",
         "devices[0].i2cDevices.0x50: addressWidth and valueWidth"},
        {R"({"devices":[{"productId":1,"i2cDevices":{"0x5D":{"registers":{"0x06":"0x10000"}}}}]})",
         "devices[0].i2cDevices.0x5D.registers.0x06: must be from"},
        {R"({"devices":[{"productId":1,"i2cDevices":{"0x62":{"registers":{"0x100":1}}}}]})",
         "devices[0].i2cDevices.0x62.registers.0x100: expected a register address"},
        {R"({"devices":[{"productId":1,"i2cDevices":{"0x62":{"pages":{}}}}]})",
         "devices[0].i2cDevices.0x62.pages: only a paged"},
        {R"({"devices":[{"productId":1,"i2cDevices":{"0x62":{"port":0}}}]})",
         "devices[0].i2cDevices.0x62.port: must be from 1 to 2"},
        {R"({"devices":[{"productId":1,"registers":{"0x1006":256}}]})",
         "devices[0].registers.0x1006: must be from 0 to 255"},
        {R"({"devices":[{"productId":1,"faults":[{"path":"nowhere","effect":"fail"}]}]})",
         "devices[0].faults[0].path: unknown path"},
        {R"({"devices":[{"productId":1,"faults":[{"path":"usb","effect":"hang"}]}]})",
         "devices[0].faults[0].ms: missing"},
        {R"({"devices":[{"productId":1,"faults":[{"path":"usb","effect":"stop"}]}]})",
         "devices[0].faults[0].effect: expected"},
        {R"({"devices":[{"productId":1,"faults":[{"path":"usb","op":"out","effect":"fail"},{"path":"usb","op":"set","effect":"fail"}]}]})",
         "devices[0].faults[1].op: no such operation on path usb (expected open, out or in)"},
        {R"({"devices":[{"productId":1,"faults":[{"path":"bridge-xu","op":"write","effect":"fail"}]}]})",
         "devices[0].faults[0].op: no such operation on path bridge-xu (expected get, set, support, basicsupport or "
         "other)"},
        {R"({"devices":[{"productId":1,"faults":[{"path":"smi","op":"set_sensor","effect":"fail"}]}]})",
         "devices[0].faults[0].op: no such operation on path smi"},
        {R"({"devices":[{"productId":1,"faults":[{"path":"asiclib","op":"init","id":4106,"effect":"fail"}]}]})",
         "devices[0].faults[0].id: operation init carries no id"},
        {R"({"devices":[{"productId":1,"missingInterfaces":["IFoo"]}]})",
         "devices[0].missingInterfaces[0]: unknown interface"},
        {R"({"devices":[{"productId":1,"extensionUnits":{"plugin":{"node":5}},"nodeTypes":["camera-terminal"]}]})",
         "devices[0].extensionUnits.plugin.node: no such node"},
        {R"({"devices":[{"productId":1,"nodeTypes":["lens"]}]})", "devices[0].nodeTypes[0]: expected camera-terminal"},
        {R"({"devices":[{"productId":1,"videoProcAmp":{"1":{"min":5,"max":1}}}]})",
         "devices[0].videoProcAmp.1.max: must be from 5"},
        {R"({"devices":[{"productId":1,"smi":{"gpio":[1,2]}}]})", "devices[0].smi.gpio: expected 4 port values"},
        {R"({"devices":[{"productId":1,"smi":{"sensor":"0x50"}}]})",
         "devices[0].smi.sensor: no device at the sensor's address in i2cDevices"},
        {R"({"enumerator":"broken","devices":[]})", "enumerator: expected"},
        {R"([])", "(top level): expected an object"},
        {R"({"devices":[)", "not valid JSON"},
        {R"({"devices":[{"productId":4E4446}]})", "not valid JSON"},  // beyond any integer type
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_NE(ErrorOf(text).find(expected), std::string::npos) << "rig: " << text << "\nerror: " << ErrorOf(text);
    }
}

TEST(RigFileTest, FileErrorsNameTheFile) {
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(Rig::Load(dir.path() / "absent.json", error));
    EXPECT_NE(error.find("absent.json: cannot be read"), std::string::npos) << error;
    const auto bad = dir.Write("bad.json", R"({"devices":[{"productId":-1}]})");
    EXPECT_FALSE(Rig::Load(bad, error));
    EXPECT_NE(error.find("bad.json: devices[0].productId: must be from 0"), std::string::npos) << error;
}

}  // namespace
}  // namespace kv::sim::test
