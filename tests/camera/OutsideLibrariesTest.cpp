// The outside libraries: SMIUtility bound through the camera object,
// ClientPropertyPageLIB loaded on demand, and the register-library helpers.
#include <gtest/gtest.h>

#include <array>

#include "ctrl/camera/ClientPropertyPageLib.h"
#include "ctrl/camera/XuI2c.h"
#include "tests/camera/CameraFixture.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;
using Call = std::array<int, 4>;

std::vector<Call> g_sensorWrites;
int g_createResult = 0;
int g_creates = 0;
int g_destroys = 0;

int KV_CDECL FakeCreate() {
    ++g_creates;
    return g_createResult;
}
int KV_CDECL FakeDestroy() { return ++g_destroys; }
int KV_CDECL FakeSetSensor(int reg, int value, int pid, int vid) {
    g_sensorWrites.push_back({reg, value, pid, vid});
    return 7;
}
int KV_CDECL FakeGetSensor(int reg, int* value, int pid, int vid) {
    *value = reg + pid + vid;
    return 5;
}

class SmiTest : public CameraTest {
protected:
    SmiTest() {
        g_sensorWrites.clear();
        g_createResult = 0;
        g_creates = g_destroys = 0;
        auto& entries = fakes.modules.libraries["SMIUtility.dll"].entryPoints;
        entries["SMI_CreateDeviceObject"] = reinterpret_cast<void*>(&FakeCreate);
        entries["SMI_DestoryDeviceObject"] = reinterpret_cast<void*>(&FakeDestroy);
        entries["SMI_SetSensorRegisterByVidPid"] = reinterpret_cast<void*>(&FakeSetSensor);
        entries["SMI_GetSensorRegisterByVidPid"] = reinterpret_cast<void*>(&FakeGetSensor);
    }
    int Bind811() { return camera.Device_Init(0xA168, 0x811, KeyOf(0x811, "1")); }
};

TEST_F(SmiTest, TheFamilyLoadsTheLibraryAndCreatesTheDeviceObject) {
    AddCamera(0x811, "1");
    EXPECT_EQ(Bind811(), 1);
    EXPECT_EQ(g_creates, 1);
    EXPECT_EQ(g_destroys, 0);
    EXPECT_TRUE(fakes.ui.messageBoxes.empty());
    EXPECT_EQ(camera.SmiSensor810_Write(0x3A01, 5), 7);
    EXPECT_THAT(g_sensorWrites, ElementsAre(Call{0x3A01, 5, 0x810, 0xA168}));
}

TEST_F(SmiTest, AFailedCreateShowsTheBoxAndDestroysOnce) {
    g_createResult = -1;
    AddCamera(0x811, "1");
    EXPECT_EQ(Bind811(), 1);
    EXPECT_THAT(fakes.ui.messageBoxes, ElementsAre("Create Device Error!"));
    EXPECT_EQ(g_destroys, 1);
}

TEST_F(SmiTest, MissingEntryPointsStayNullAndTheWrappersDoNothing) {
    fakes.modules.libraries["SMIUtility.dll"].entryPoints = {
        {"SMI_CreateDeviceObject", reinterpret_cast<void*>(&FakeCreate)}};
    AddCamera(0x811, "1");
    EXPECT_EQ(Bind811(), 1);
    EXPECT_TRUE(fakes.ui.messageBoxes.empty());
    int value = 99;
    EXPECT_EQ(camera.SmiSensor810_Write(0x3A01, 5), 0);
    EXPECT_EQ(camera.SmiSensor_WriteHex(0x812, "0x3804", "0x0A"), 0);
    EXPECT_EQ(camera.SmiSensor_ReadHex(0x812, "0x3804", &value), 0);
    EXPECT_EQ(value, 99);
    camera.SmiSensor812_Init();
    EXPECT_TRUE(g_sensorWrites.empty());
}

TEST_F(SmiTest, WithoutCreateEntryPointTheBindingReportsACreateError) {
    fakes.modules.libraries["SMIUtility.dll"].entryPoints.erase("SMI_CreateDeviceObject");
    EXPECT_EQ(Bind811(), 1);
    EXPECT_THAT(fakes.ui.messageBoxes, ElementsAre("Create Device Error!"));
    EXPECT_EQ(g_destroys, 1);
}

TEST_F(SmiTest, WithoutTheLibraryEveryWrapperDoesNothing) {
    int value = 99;
    EXPECT_EQ(camera.SmiSensor810_Write(1, 2), 0);
    EXPECT_EQ(camera.SmiSensor_ReadHex(0x810, "10", &value), 0);
    camera.SensorWindow_Set(0x812, 1);
    EXPECT_EQ(value, 99);
    EXPECT_TRUE(g_sensorWrites.empty());
}

TEST_F(SmiTest, HexTextsAndTheInitList) {
    Bind811();
    EXPECT_EQ(camera.SmiSensor_WriteHex(0x812, "0x3804", "A"), 7);
    int value = 0;
    EXPECT_EQ(camera.SmiSensor_ReadHex(0x813, "10", &value), 5);
    EXPECT_EQ(value, 0x10 + 0x813 + 0xA168);

    g_sensorWrites.clear();
    camera.SmiSensor812_Init();
    ASSERT_EQ(g_sensorWrites.size(), 14u);
    EXPECT_EQ(g_sensorWrites.front(), (Call{0x538B, 0x50, 0x812, 0xA168}));
    EXPECT_EQ(g_sensorWrites.back(), (Call{0x3A01, 0x05, 0x812, 0xA168}));
}

TEST_F(SmiTest, SensorWindowPicksTheSetByTheModesLowByte) {
    Bind811();
    const auto windowValues = [&](int mode) {
        g_sensorWrites.clear();
        camera.SensorWindow_Set(0x812, mode);
        std::vector<int> values;
        for (const Call& c : g_sensorWrites) values.push_back(c[1]);
        return values;
    };
    const std::vector<int> full{0x0A, 0x20, 0x07, 0x98, 0x0A, 0x20, 0x07, 0x98};
    const std::vector<int> half{0x05, 0x00, 0x03, 0xC0, 0x05, 0x00, 0x03, 0xC0};
    EXPECT_EQ(windowValues(1), full);
    EXPECT_EQ(windowValues(3), full);
    EXPECT_EQ(windowValues(0), half);
    EXPECT_EQ(windowValues(2), half);
    EXPECT_EQ(windowValues(0x100), half);  // only the low byte counts
    EXPECT_EQ(g_sensorWrites[0][0], 0x3804);
    EXPECT_EQ(g_sensorWrites[7][0], 0x5687);
}

TEST_F(SmiTest, UninitForgetsTheEntryPoints) {
    Bind811();
    camera.Device_Uninit();
    EXPECT_EQ(camera.SmiSensor810_Write(1, 2), 0);
    EXPECT_TRUE(g_sensorWrites.empty());
}

std::vector<std::array<long, 2>> g_asicCalls;
int KV_CDECL FakeInitial() { return 1; }
int KV_CDECL FakeReadAsic(long reg, long* value) {
    *value = reg & 0xFF;
    return 1;
}
int KV_CDECL FakeWriteAsic(long reg, long value) {
    g_asicCalls.push_back({reg, value});
    return 1;
}
void KV_CDECL FakeUninitial() {}

TEST(ClientPropertyPageLibTest, BindsTheFourDecoratedNamesOrNothing) {
    FakeModules modules;
    EXPECT_EQ(ctrl::ClientPropertyPageLib::Load(modules), nullptr);  // no library

    auto& entries = modules.libraries["ClientPropertyPageLIB.dll"].entryPoints;
    entries = {{"?InitialLIB@@YAHXZ", reinterpret_cast<void*>(&FakeInitial)},
               {"?ReadAsic@@YAHJPAJ@Z", reinterpret_cast<void*>(&FakeReadAsic)},
               {"?WriteAsic@@YAHJJ@Z", reinterpret_cast<void*>(&FakeWriteAsic)},
               {"_Z12UNInitialLIBv", reinterpret_cast<void*>(&FakeUninitial)}};
    EXPECT_EQ(ctrl::ClientPropertyPageLib::Load(modules), nullptr);  // one name missing

    entries["?UNInitialLIB@@YAXXZ"] = reinterpret_cast<void*>(&FakeUninitial);
    auto library = ctrl::ClientPropertyPageLib::Load(modules);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->InitialLIB(), 1);
    long value = 0;
    library->ReadAsic(0x100A, &value);
    EXPECT_EQ(value, 0x0A);
    library->WriteAsic(0x100A, 0x01);
    library->UNInitialLIB();
    EXPECT_EQ(g_asicCalls, (std::vector<std::array<long, 2>>{{0x100A, 0x01}}));
    EXPECT_THAT(modules.loaded,
                ElementsAre("ClientPropertyPageLIB.dll", "ClientPropertyPageLIB.dll", "ClientPropertyPageLIB.dll"));
}

TEST(XuI2cTest, FailedReadsGiveZeroAndWritesAlwaysZero) {
    // The register library is not bound to any ports: every transfer fails.
    EXPECT_EQ(ctrl::XuI2c_Read72(0x3012, 0), 0);
    EXPECT_EQ(ctrl::XuI2c_Read120(0x3012, 0), 0);
    EXPECT_EQ(ctrl::XuI2c_Write72(0x3012, 0x55, 0), 0);
    EXPECT_EQ(ctrl::XuI2c_Write120(0x3012, 0x55, 0), 0);
}

}  // namespace
}  // namespace kv::test
