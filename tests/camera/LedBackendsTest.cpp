// The LED back-ends of the camera object: bridge GPIO lines, the driver's
// LED property, SMIUtility's GPIO ports, ClientPropertyPageLIB, P809.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "tests/camera/CameraFixture.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;
using Writes = std::vector<std::pair<int, int>>;

class GpioTest : public BridgeTest {};

TEST_F(GpioTest, SetPairEnablesEachLineThenDrivesItsLevel) {
    bridge->registers[0x1007] = 0x00;
    bridge->registers[0x1006] = 0xFF;
    camera.Gpio_SetPair(4, 1, 0, 0);
    EXPECT_EQ(bridge->Reads(), (std::vector<int>{0x1007, 0x1006, 0x1007, 0x1006}));
    EXPECT_EQ(bridge->Writes(), (Writes{{0x1007, 0x10}, {0x1006, 0xFF}, {0x1007, 0x11}, {0x1006, 0xFE}}));
    EXPECT_EQ(bridge->registers[0x1007], 0x11);
    EXPECT_EQ(bridge->registers[0x1006], 0xFE);
}

TEST_F(GpioTest, FivePatternsDriveTheirLinePairsAndUnknownModesSendNothing) {
    using Setter = int (ctrl::CDxWnd::*)(int);
    // Per pattern: lines A and B, then the level of each in modes 0, 1, 2.
    const std::tuple<Setter, int, int, std::array<std::array<int, 2>, 3>> patterns[] = {
        {&ctrl::CDxWnd::LedGpioA_Set, 0, 2, {{{1, 1}, {1, 0}, {0, 1}}}},
        {&ctrl::CDxWnd::LedGpioB_Set, 4, 0, {{{0, 0}, {1, 0}, {0, 1}}}},
        {&ctrl::CDxWnd::LedGpioC_Set, 4, 0, {{{1, 1}, {0, 1}, {1, 0}}}},
        {&ctrl::CDxWnd::LedGpioD_Set, 4, 0, {{{0, 1}, {1, 1}, {0, 0}}}},
        {&ctrl::CDxWnd::LedGpioE_Set, 4, 0, {{{1, 0}, {1, 1}, {0, 0}}}},
    };
    for (const auto& [setter, lineA, lineB, levels] : patterns) {
        for (int mode = 0; mode <= 2; ++mode) {
            bridge->registers = {{0x1007, 0x00}, {0x1006, 0x00}};
            (camera.*setter)(mode);
            const int expected = (levels[mode][0] << lineA) | (levels[mode][1] << lineB);
            EXPECT_EQ(bridge->registers[0x1006], expected) << "lines " << lineA << "," << lineB << " mode " << mode;
            EXPECT_EQ(bridge->registers[0x1007], (1 << lineA) | (1 << lineB));
        }
        bridge->requests.clear();
        (camera.*setter)(3);
        (camera.*setter)(-1);
        EXPECT_TRUE(bridge->requests.empty());
    }
}

TEST_F(GpioTest, ARegisterWhoseReadFailedIsNotWritten) {
    bridge->failWith = platform::kE_FAIL;
    camera.LedGpioA_Set(1);
    EXPECT_TRUE(bridge->Writes().empty());
}

TEST_F(GpioTest, DriverPropertyLedValues) {
    auto& set = *filter->propertySet;
    camera.LedKsProp_Set(0, 9);
    camera.LedKsProp_Set(1, 9);
    camera.LedKsProp_Set(2, 9);
    camera.LedKsProp_Set(5, 9);
    camera.LedKsProp_SetLevel(4);
    ASSERT_EQ(set.calls.size(), 4u);
    const int values[] = {1, 2, 9, 4};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(set.calls[i].id, 29u);
        EXPECT_EQ(set.calls[i].data[24], values[i]);
    }
}

// SMIUtility's GPIO ports: reads answer 0xFF on every port; writes recorded.
std::vector<std::string> g_gpio;
int KV_CDECL GetGpioByIds(int port, int* value, int pid, int) {
    g_gpio.push_back("get " + std::to_string(port) + " " + std::to_string(pid));
    *value = 0xFF;
    return 0;
}
int KV_CDECL SetGpioByIds(int port, int value, int pid, int) {
    g_gpio.push_back("set " + std::to_string(port) + " " + std::to_string(value) + " " + std::to_string(pid));
    return 0;
}
int KV_CDECL GetGpio(int port, int* value) {
    g_gpio.push_back("get " + std::to_string(port));
    *value = 0x00;
    return 0;
}
int KV_CDECL SetGpio(int port, int value) {
    g_gpio.push_back("set " + std::to_string(port) + " " + std::to_string(value));
    return 0;
}
int KV_CDECL CreateOk() { return 0; }

class SmiGpioTest : public CameraTest {
protected:
    SmiGpioTest() {
        g_gpio.clear();
        auto& entries = fakes.modules.libraries["SMIUtility.dll"].entryPoints;
        entries["SMI_CreateDeviceObject"] = reinterpret_cast<void*>(&CreateOk);
        entries["SMI_GetGPIOValueByVidPid"] = reinterpret_cast<void*>(&GetGpioByIds);
        entries["SMI_SetGPIOValueByVidPid"] = reinterpret_cast<void*>(&SetGpioByIds);
        entries["SMI_GetGPIOValue"] = reinterpret_cast<void*>(&GetGpio);
        entries["SMI_SetGPIOValue"] = reinterpret_cast<void*>(&SetGpio);
        AddCamera(0x812, "1");
        EXPECT_EQ(camera.Device_Init(0xA168, 0x812, KeyOf(0x812, "1")), 1);
    }
};

TEST_F(SmiGpioTest, Product810Modes) {
    camera.LedSmi810_Set(0);
    EXPECT_THAT(g_gpio, ElementsAre("get 0 2064", "set 0 253 2064", "get 3 2064", "set 3 253 2064"));
    g_gpio.clear();
    camera.LedSmi810_Set(1);
    EXPECT_THAT(g_gpio, ElementsAre("get 0 2064", "set 0 255 2064", "get 3 2064", "set 3 251 2064"));
    g_gpio.clear();
    camera.LedSmi810_Set(2);
    EXPECT_TRUE(g_gpio.empty());
}

TEST_F(SmiGpioTest, Product812ModeOneUsesTheLibrarysCurrentDevice) {
    camera.LedSmi812_Set(0);
    EXPECT_THAT(g_gpio, ElementsAre("get 0 2066", "set 0 253 2066", "get 3 2066", "set 3 253 2066"));
    g_gpio.clear();
    camera.LedSmi812_Set(1);
    EXPECT_THAT(g_gpio, ElementsAre("get 0", "set 0 0", "get 3", "set 3 4"));
    g_gpio.clear();
    camera.LedSmi812_Set(2);
    EXPECT_THAT(g_gpio, ElementsAre("get 0 2066", "set 0 255 2066", "get 3 2066", "set 3 251 2066"));
}

// ClientPropertyPageLIB: a register file of its own.
std::map<long, long> g_asic;
std::vector<std::string> g_asicCalls;
int KV_CDECL Initial() {
    g_asicCalls.push_back("init");
    return 1;
}
int KV_CDECL ReadAsic(long reg, long* value) {
    *value = g_asic[reg];
    return 1;
}
int KV_CDECL WriteAsic(long reg, long value) {
    g_asicCalls.push_back("write " + std::to_string(reg) + " " + std::to_string(value));
    g_asic[reg] = value;
    return 1;
}
void KV_CDECL Uninitial() { g_asicCalls.push_back("uninit"); }

class AsicLibTest : public CameraTest {
protected:
    AsicLibTest() {
        g_asic = {{0x1007, 0x00}, {0x1006, 0x20}, {0x100B, 0x00}, {0x100A, 0x03}};
        g_asicCalls.clear();
    }
    void Provide() {
        fakes.modules.libraries["ClientPropertyPageLIB.dll"].entryPoints = {
            {"?InitialLIB@@YAHXZ", reinterpret_cast<void*>(&Initial)},
            {"?ReadAsic@@YAHJPAJ@Z", reinterpret_cast<void*>(&ReadAsic)},
            {"?WriteAsic@@YAHJJ@Z", reinterpret_cast<void*>(&WriteAsic)},
            {"?UNInitialLIB@@YAXXZ", reinterpret_cast<void*>(&Uninitial)}};
    }
};

TEST_F(AsicLibTest, ModeOneClearsBitOneOf100AAndKeepsTheOthers) {
    Provide();
    EXPECT_EQ(camera.LedAsicLib_Set(1), 1);
    EXPECT_THAT(g_asicCalls,
                ElementsAre("init", "write 4103 32", "write 4102 32", "write 4107 2", "write 4106 1", "uninit"));
    EXPECT_EQ(fakes.modules.loaded.size(), 1u);
}

TEST_F(AsicLibTest, ModeTwoClearsBit5Of1006AndUnknownModesOnlyOpenAndClose) {
    Provide();
    camera.LedAsicLib_Set(2);
    EXPECT_EQ(g_asic[0x1006], 0x00);
    EXPECT_EQ(g_asic[0x100A], 0x03);
    g_asicCalls.clear();
    camera.LedAsicLib_Set(7);
    EXPECT_THAT(g_asicCalls, ElementsAre("init", "uninit"));
}

TEST_F(AsicLibTest, WithoutTheLibraryNothingHappensAndTheLogSaysSo) {
    fakes.environment.rawCommandLine = "x /d";
    EXPECT_EQ(camera.LedAsicLib_Set(1), 0);
    EXPECT_TRUE(g_asicCalls.empty());
    const auto texts = LoggedTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "ClientPropertyPageLIB.dll not loaded: LED unchanged");
}

TEST_F(CameraTest, P809StartsTheToolHiddenWithItsCommandTexts) {
    EXPECT_EQ(camera.P809_Read("1A", "ignored"), 1);
    EXPECT_EQ(camera.P809_Write("1A", "FF"), 0);
    EXPECT_THAT(fakes.processes.started,
                ElementsAre("cmd.exe /c P809.exe \"\" 21 R 1A", "cmd.exe /c P809.exe \"\" 21 W 1A FF"));
}

}  // namespace
}  // namespace kv::test
