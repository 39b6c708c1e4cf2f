// The dispatcher: pre-passes, both modes, the order of the commands, the
// library-index formulas and the pauses, against a target that records
// every call.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "ctrl/cli/DispatchPasses.h"

namespace kv::ctrl {
namespace {

using Calls = std::vector<std::string>;

class RecordingTarget : public DispatchTarget {
public:
    explicit RecordingTarget(DispatchCounters& counters) : m_counters(counters) {}

    Calls calls;
    std::map<std::string, int> failingInit;        // device key -> Device_Init result 0
    std::map<int, std::uint16_t> sensorRegisters;  // what Sensor_Read answers; missing: read fails
    std::set<std::pair<int, bool>> lacking;        // camera number, bound: the platform lacks what it needs

    int Device_Init(int vendorId, int productId, std::string key) override {
        Add("Device_Init " + Hex(vendorId) + " " + Hex(productId) + " " + key);
        return failingInit.count(key) ? 0 : 1;
    }
    void SetWindowHandle(std::uintptr_t handle) override { Add("SetWindowHandle " + std::to_string(handle)); }
    void Log(const std::string& text) override { Add("log: " + text); }
    void Print(const std::string& line) override { Add("print: " + line); }
    int Sensor_Write(int slave, int reg, unsigned value, int width) override {
        Add("Sensor_Write " + Hex(slave) + " " + Hex(reg) + " " + Hex(static_cast<int>(value)) + " " +
            std::to_string(width));
        return 1;
    }
    int Sensor_Read(int slave, int reg, std::uint16_t* value, int width) override {
        Add("Sensor_Read " + Hex(slave) + " " + Hex(reg) + " " + std::to_string(width));
        const auto found = sensorRegisters.find(reg);
        if (found == sensorRegisters.end()) return 0;
        *value = found->second;
        return 1;
    }
    void Sleep(unsigned milliseconds) override { Add("sleep " + std::to_string(milliseconds)); }
    void TurnLed1OnByModel(int productId) override { Add("TurnLed1OnByModel " + Hex(productId) + " ii=" + Ii()); }
    void TurnLed2OnByModel(int productId) override { Add("TurnLed2OnByModel " + Hex(productId) + " ii=" + Ii()); }
    void TurnLedOffByModel(int productId) override { Add("TurnLedOffByModel " + Hex(productId) + " ii=" + Ii()); }
    void SetAntiFlickerByModel(int productId, int mode, int dev) override {
        Add(Dev("SetAntiFlickerByModel", dev, productId, mode));
    }
    void SetFlcSwitch(int dev, int productId, int value) override { Add(Dev("SetFlcSwitch", dev, productId, value)); }
    void SetFlcLevel(int dev, int productId, int value) override { Add(Dev("SetFlcLevel", dev, productId, value)); }
    void InitByModel(int productId, int dev) override { Add(Dev("InitByModel", dev, productId, 0)); }
    void SetAutoExposureByModel(int on, int productId, int dev) override {
        Add(Dev("SetAutoExposureByModel", dev, productId, on));
    }
    void SetExposureValueByModel(int value, int dev, int productId) override {
        Add(Dev("SetExposureValueByModel", dev, productId, value));
    }
    void SaveExposureSettings(int dev, int productId) override { Add(Dev("SaveExposureSettings", dev, productId, 0)); }
    void LoadExposureSettings(int dev, int productId) override { Add(Dev("LoadExposureSettings", dev, productId, 0)); }
    void OpenDirectUsbDevice() override { Add("OpenDirectUsbDevice"); }
    bool LacksOnThisPlatform(int cameraNumber, int, const ModelOperations& operations, bool bound) override {
        lastOperations = operations;
        return lacking.count({cameraNumber, bound}) != 0;
    }
    ModelOperations lastOperations;

    // The calls whose text starts with `prefix`.
    Calls Only(const std::string& prefix) const {
        Calls found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                     [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
        return found;
    }

private:
    void Add(std::string call) { calls.push_back(std::move(call)); }
    std::string Ii() const { return std::to_string(m_counters.ii); }
    static std::string Hex(int value) {
        char text[16];
        std::snprintf(text, sizeof text, "%x", value);
        return text;
    }
    static std::string Dev(const char* name, int dev, int productId, int value) {
        return std::string(name) + " dev=" + std::to_string(dev) + " " + Hex(productId) + " " + std::to_string(value);
    }
    DispatchCounters& m_counters;
};

class DispatchPassesTest : public ::testing::Test {
protected:
    // Adds a camera of this product id; the instance part tells cameras apart.
    void AddCamera(const char* pid, const char* instance = "6&1&0&0000") {
        const std::string path = std::string("\\\\?\\usb#vid_a168&pid_") + pid + "&mi_00#" + instance +
                                 "#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
        ASSERT_TRUE(table.Add(path));
    }
    void Run(const std::string& arguments) {
        const ParsedCommand command = ParseCommandLine(NormaliseCommandLine("kv_ds_ctrl.exe " + arguments));
        DispatchCommand(command, table, target, counters);
    }

    CameraTable table;
    DispatchCounters counters;
    RecordingTarget target{counters};
};

TEST_F(DispatchPassesTest, OrderPrePassNotesAReversedPairAndCountsThe09b0Cameras) {
    AddCamera("0990");
    AddCamera("0840");
    AddCamera("09b0");
    Run("ev 100 -cam1");
    EXPECT_EQ(counters.m_bPidReversed, 1);
    EXPECT_EQ(counters.m_n09b0Count, 1);
}

TEST_F(DispatchPassesTest, BlackBarFixReachesThe0840SensorWhateverTheCommandSelects) {
    AddCamera("0990");
    AddCamera("0840", "6&2&0&0000");
    Run("led on -cam1");
    const Calls sensor = target.Only("Sensor_");
    EXPECT_EQ(sensor,
              (Calls{"Sensor_Write 5d f0 0 2", "Sensor_Read 5d 1 2", "Sensor_Read 5d 3 2", "Sensor_Write 5d 1 1e 2"}))
        << "reads that fail leave 4 and 0x402: register 1 gets 0x1E";
    EXPECT_EQ(target.Only("Device_Init").front(),
              "Device_Init a168 840 0840&mi_00#6&2&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global");
    EXPECT_NE(std::find(target.calls.begin(), target.calls.end(), "log: Reduce Blackbar"), target.calls.end());
}

TEST_F(DispatchPassesTest, BlackBarFixWritesOnlyWhenRegisterOneIsOutOfRange) {
    AddCamera("0845");
    target.sensorRegisters = {{1, 0x1E}, {3, 0x40C}};
    Run("led on");
    EXPECT_EQ(target.Only("Sensor_Write").size(), 1u) << "0x1E is in range: no write of register 1";
    target.calls.clear();
    target.sensorRegisters = {{1, 0x05}, {3, 0x40C}};
    Run("led on");
    EXPECT_EQ(target.Only("Sensor_Write").back(), "Sensor_Write 5d 1 20 2");
    EXPECT_EQ(target.Only("sleep 50").size(), 3u);
}

TEST_F(DispatchPassesTest, AllCamerasGiveTheFamilyDevicesIndexesAfterTheOthers) {
    AddCamera("0810");
    AddCamera("0990");
    AddCamera("0950");
    Run("init");
    EXPECT_EQ(target.Only("InitByModel"),
              (Calls{"InitByModel dev=-1 810 0", "InitByModel dev=0 990 0", "InitByModel dev=0 950 0"}))
        << "0x950 counts as outside the family in this mode";
    EXPECT_EQ(counters.m_notzelmar, 2);
}

TEST_F(DispatchPassesTest, AllCamerasRunTheCommandsInOrderWithTheirPausesAndLogLines) {
    AddCamera("0990");
    Run("led on");
    const Calls want{"log: nCamNum==0",
                     "log: Pid Correct!!",
                     "SetWindowHandle 0",
                     "log: m_pDxWnd->SetWindowHandle(0)",
                     "log: ii=0,m_notzelmar=0",
                     "Device_Init a168 990 0990&mi_00#6&1&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global",
                     "TurnLed1OnByModel 990 ii=0",
                     "log: Led1On",
                     "sleep 250",
                     "log: All Korvex control. sPid:0990 strOn:1",
                     "log: strOut: 0.vid_a168&pid_0990&mi_00\\6&1&0&0000\n strEVPara:"};
    const Calls& calls = target.calls;
    ASSERT_GE(calls.size(), want.size()) << ::testing::PrintToString(calls);
    EXPECT_EQ(Calls(calls.end() - static_cast<std::ptrdiff_t>(want.size()), calls.end()), want);
}

TEST_F(DispatchPassesTest, AllCamerasSkipACameraThatCannotBeBoundAndLoadTakesHalfASecondMore) {
    AddCamera("0990", "6&a&0&0000");
    AddCamera("0991", "6&b&0&0000");
    target.failingInit[table.at(0).strPathTail] = 1;
    Run("loadexposure");
    EXPECT_EQ(target.Only("LoadExposureSettings"), Calls{"LoadExposureSettings dev=1 991 0"});
    EXPECT_EQ(target.Only("SetAutoExposureByModel"),
              (Calls{"SetAutoExposureByModel dev=1 991 1", "SetAutoExposureByModel dev=1 991 0"}));
    EXPECT_EQ(target.Only("sleep 250").size(), 3u) << "the camera's 250 ms, and two more around the load";
}

TEST_F(DispatchPassesTest, SingleCameraCountsTheWholeTableAndAReversedPairShiftsTheIndex) {
    AddCamera("0990");
    AddCamera("0810");
    Run("ae on -cam1");
    EXPECT_EQ(counters.m_notzelmar, 1);
    EXPECT_EQ(target.Only("SetAutoExposureByModel"), Calls{"SetAutoExposureByModel dev=0 990 1"})
        << "N = 1, K = 0, R = 1: ii - K";
    EXPECT_EQ(target.Only("sleep 200").size(), 1u);
    EXPECT_NE(std::find(target.calls.begin(), target.calls.end(), "log: SetAE On"), target.calls.end());
}

TEST_F(DispatchPassesTest, SingleCameraWithoutReversalSubtractsTheOthers) {
    AddCamera("0810");
    AddCamera("0990");
    Run("ae off -cam2");
    EXPECT_EQ(target.Only("SetAutoExposureByModel"), Calls{"SetAutoExposureByModel dev=0 990 0"}) << "ii - N";
}

TEST_F(DispatchPassesTest, SingleCameraCounts0950InsideTheFamilyAndPassesIiAbove09b0) {
    AddCamera("0950");
    AddCamera("09b5");
    Run("ae on ev 120 -cam2");
    EXPECT_EQ(counters.m_notzelmar, 0);
    EXPECT_EQ(target.Only("SetAutoExposureByModel"), Calls{"SetAutoExposureByModel dev=1 9b5 1"}) << "ii itself";
    EXPECT_EQ(target.Only("SetExposureValueByModel"), Calls{"SetExposureValueByModel dev=1 9b5 120"})
        << "ii - W, W = 0";
}

TEST_F(DispatchPassesTest, SingleCameraLedCommandsMoveIiWhenThePairIsReversed) {
    AddCamera("0990");
    AddCamera("0810");
    AddCamera("0870");
    Run("led off -cam3");
    // N = 1 (0x810), K = 0, R = 1: ii = N - K + s = 1 - 0 + 2.
    EXPECT_EQ(target.Only("TurnLedOffByModel"), Calls{"TurnLedOffByModel 870 ii=3"});
}

TEST_F(DispatchPassesTest, SingleCameraFlcIndexSubtractsTheSwapFlag) {
    AddCamera("0850");
    AddCamera("09b5");
    Run("flcswitch 1010 flclevel 3 -cam2");
    // s = 1, R = 0, W = 1 (0850 sorts below 0870, 09b5 above): dev = 0.
    EXPECT_EQ(target.Only("SetFlc"), (Calls{"SetFlcSwitch dev=0 9b5 10", "SetFlcLevel dev=0 9b5 3"}));
}

TEST_F(DispatchPassesTest, AntiFlickerModesGoInTheirOrderInBothModes) {
    AddCamera("0990");
    Run("antiflicker on 50 antiflicker off");
    EXPECT_EQ(target.Only("SetAntiFlicker"),
              (Calls{"SetAntiFlickerByModel dev=0 990 2", "SetAntiFlickerByModel dev=0 990 0"}));
    target.calls.clear();
    Run("antiflicker on 60 -cam1");
    EXPECT_EQ(target.Only("SetAntiFlicker"), Calls{"SetAntiFlickerByModel dev=0 990 1"});
}

TEST_F(DispatchPassesTest, AntiFlickerAndInitTakeTheAutoExposureIndexBehindACameraOutsideTheFamily) {
    AddCamera("0810");
    AddCamera("0990");
    Run("antiflicker on 50 init -cam2");
    // The camera's position is 1, but the library knows it as camera 0.
    EXPECT_EQ(target.Only("SetAntiFlicker"), Calls{"SetAntiFlickerByModel dev=0 990 2"});
    EXPECT_EQ(target.Only("InitByModel"), Calls{"InitByModel dev=0 990 0"});
    target.calls.clear();
    counters = DispatchCounters{};  // a new run
    Run("antiflicker off");
    EXPECT_EQ(target.Only("SetAntiFlicker"),
              (Calls{"SetAntiFlickerByModel dev=-1 810 0", "SetAntiFlickerByModel dev=0 990 0"}));
}

TEST_F(DispatchPassesTest, AllCamerasOpenTheDirectUsbPathForEach09b0Camera) {
    AddCamera("0990", "6&a&0&0000");
    AddCamera("09b0", "6&b&0&0000");
    AddCamera("09b0", "6&c&0&0000");
    Run("led on");
    EXPECT_EQ(target.Only("OpenDirectUsbDevice").size(), 2u);
    EXPECT_EQ(counters.m_strSelDevice, table.at(2).strInstance) << "each camera opens its own device";
    const auto& calls = target.calls;
    const auto open = std::find(calls.begin(), calls.end(), "OpenDirectUsbDevice");
    const auto led = std::find(calls.begin(), calls.end(), "TurnLed1OnByModel 9b0 ii=1");
    EXPECT_LT(open, led) << "the path is open before the camera's commands";
}

TEST_F(DispatchPassesTest, SingleCameraSettingsAndTheDirectUsbOpening) {
    AddCamera("09b0", "6&a&0&0000");
    AddCamera("09b0", "6&b&0&0000");
    Run("saveexposure -cam2");
    EXPECT_EQ(target.Only("OpenDirectUsbDevice").size(), 2u) << "once per 09b0 camera of the table";
    EXPECT_EQ(counters.m_strSelDevice, table.at(1).strInstance);
    // N = 2 (above 0x9BF? no: 0x9B0 is inside), K = 2, R = 0: ii - 0 - N.
    EXPECT_EQ(target.Only("SaveExposureSettings"), Calls{"SaveExposureSettings dev=1 9b0 0"});
}

TEST_F(DispatchPassesTest, ACameraNumberBeyondTheTableSendsNoCommandButThePrePassesRun) {
    AddCamera("0840");
    Run("led on -cam3");
    EXPECT_EQ(target.Only("print: "), Calls{"print: -CAM3: there is no camera 3; 1 camera is connected."});
    EXPECT_TRUE(target.Only("TurnLed").empty());
    EXPECT_EQ(target.Only("Device_Init").size(), 1u) << "only the black-bar pre-pass binds";
}

// A camera whose model needs what the platform lacks gets nothing of the
// command, and the others theirs; before binding nothing binds it either.
TEST_F(DispatchPassesTest, ACameraThePlatformCannotServeIsLeftAlone) {
    AddCamera("0610");
    AddCamera("0990", "6&2&0&0000");
    target.lacking = {{1, true}};
    Run("ae on");
    EXPECT_TRUE(target.lastOperations.autoExposureOn);
    EXPECT_EQ(target.Only("SetAutoExposureByModel"), Calls{"SetAutoExposureByModel dev=0 990 1"});
    target.calls.clear();
    target.lacking = {{2, false}};
    Run("led on -cam2");
    EXPECT_TRUE(target.Only("Device_Init").empty());
    EXPECT_TRUE(target.Only("TurnLed").empty());
}

TEST(DispatchCountersTest, FlcUseCountIsGuardedOutsideZeroToSeven) {
    DispatchCounters counters;
    EXPECT_EQ(counters.FlcUseCount(-1), nullptr);
    EXPECT_EQ(counters.FlcUseCount(8), nullptr);
    ASSERT_NE(counters.FlcUseCount(7), nullptr);
    *counters.FlcUseCount(7) = 3;
    EXPECT_EQ(counters.m_nFlcUseCount[7], 3);
}

}  // namespace
}  // namespace kv::ctrl
