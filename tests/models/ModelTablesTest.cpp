// The model tables, row by row: what each product id does for each command.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "ctrl/models/ModelRoutines.h"
#include "ctrl/models/OutsideNeeds.h"
#include "tests/fakes/FakePorts.h"
#include "tests/models/RecordingOps.h"

namespace kv::ctrl {
namespace {

using test::RecordingOps;
using Calls = std::vector<std::string>;

struct Row {
    std::vector<int> productIds;
    Calls calls;
};

// Runs `command` on each product id of each row on fresh operations and
// compares what it did.
void ExpectRows(const std::vector<Row>& rows, const std::function<void(int, RecordingOps&)>& command,
                const std::map<std::string, int>& reads = {}) {
    for (const Row& row : rows) {
        for (int productId : row.productIds) {
            RecordingOps ops;
            ops.reads = reads;
            command(productId, ops);
            EXPECT_EQ(ops.calls, row.calls) << "product id " << RecordingOps::Hex(productId);
        }
    }
}

// LED line state 0xF4: bit 2 set, bit 0 clear, and high bits that must stay.
const std::map<std::string, int> kBridgeState{{"B 84", 0xF4}};

TEST(LedTablesTest, LedSetOneByProductId) {
    int counter = 0;
    ExpectRows(
        {{{0x840, 0x845, 0x849, 0x710, 0x712, 0x713, 0x715, 0x716, 0x950}, {"GpioA 1"}},
         {{0x820, 0x863}, {"GpioB 1"}},
         {{0x850, 0x852}, {"GpioC 1"}},
         {{0x825}, {"GpioD 1"}},
         {{0x860}, {"GpioE 1"}},
         {{0x810, 0x830}, {"Smi810 1"}},
         {{0x812}, {"Smi812 1"}},
         {{0x870, 0x871, 0x873, 0x875, 0x876, 0x878, 0x880, 0x881, 0x885, 0x890, 0x910}, {"B? 84", "B 80 f5"}},
         {{0x872, 0x874, 0x879, 0x882, 0x884, 0x892, 0x902, 0x912, 0x922}, {"B? 84", "B 80 f1"}},
         {{0x900, 0x920, 0x929}, {"B? 84", "B 80 f4"}},
         {{0x960, 0x99F}, {"XuF2F3 1"}},
         {{0x611, 0x615}, {"KsProp 1 0"}},
         {{0x610}, {"KsProp 2 2"}},
         {{0x617}, {"AsicLib 1"}},
         {{0x9B0, 0x9BF}, {"FLC 4 15", "FLC 3 6"}},
         {{0x600, 0x714, 0x811, 0x9A0, 0x9C0}, {}}},
        [&](int productId, RecordingOps& ops) {
            counter = 5;  // the controller was enabled earlier in the run
            TurnLed1OnByModel(productId, ops, &counter);
            EXPECT_EQ(counter, 0) << "whatever the row, the counter starts again";
        },
        kBridgeState);
}

TEST(LedTablesTest, LedSetTwoByProductId) {
    ExpectRows(
        {{{0x712, 0x842, 0x849}, {"GpioA 2"}},
         {{0x820, 0x863}, {"GpioB 2"}},
         {{0x852}, {"GpioC 2"}},
         {{0x825}, {"GpioD 2"}},
         {{0x860}, {"GpioE 2"}},
         {{0x810, 0x830}, {"Smi810 2"}},
         {{0x812}, {"Smi812 2"}},
         {{0x872, 0x874, 0x879, 0x882, 0x884, 0x902, 0x912, 0x922}, {"B? 84", "B 80 f4"}},
         {{0x960, 0x99F}, {"XuF2F3 2"}},
         {{0x617}, {"AsicLib 2"}},
         {{0x840, 0x850, 0x870, 0x892, 0x9B0, 0x610}, {}}},
        [](int productId, RecordingOps& ops) { TurnLed2OnByModel(productId, ops, nullptr); }, kBridgeState);
}

TEST(LedTablesTest, LedOffByProductId) {
    ExpectRows(
        {{{0x847, 0x712, 0x842, 0x849}, {"GpioA 0"}},
         {{0x840, 0x841, 0x843, 0x844, 0x845, 0x846, 0x848, 0x713, 0x710, 0x714, 0x715, 0x716, 0x950}, {"GpioA 2"}},
         {{0x820, 0x863}, {"GpioB 0"}},
         {{0x850}, {"GpioC 2"}},
         {{0x852}, {"GpioC 0"}},
         {{0x825}, {"GpioD 0"}},
         {{0x860}, {"GpioE 0"}},
         {{0x810, 0x830}, {"Smi810 0"}},
         {{0x812}, {"Smi812 0"}},
         {{0x870, 0x871, 0x873, 0x875, 0x876, 0x878, 0x880, 0x881, 0x885, 0x890, 0x910}, {"XuBit0 0"}},
         {{0x900, 0x920}, {"XuBit2 0"}},
         {{0x902, 0x922, 0x929, 0x872, 0x874, 0x879, 0x882, 0x884, 0x892, 0x912}, {"XuBits02 0"}},
         {{0x960, 0x99F}, {"XuF2F3 0"}},
         {{0x611, 0x615}, {"KsProp 0 0"}},
         {{0x610}, {"KsProp 2 1"}},
         {{0x617}, {"AsicLib 0"}},
         {{0x9B0, 0x9BF}, {"FLC 4 16", "FLC 3 6"}},
         {{0x600, 0x811, 0x9A0}, {}}},
        [](int productId, RecordingOps& ops) {
            int counter = 3;  // already enabled this run
            TurnLedOffByModel(productId, ops, &counter);
        });
}

TEST(LedTablesTest, AFailedBridgeReadWritesNothing) {
    RecordingOps ops;
    ops.failingBridgeReads = {0x84};
    TurnLed1OnByModel(0x870, ops, nullptr);
    EXPECT_EQ(ops.calls, Calls{"B? 84"});
}

TEST(FlcControllerTest, EnablesOncePerRunAndAgainAfterLedOn) {
    RecordingOps ops;
    int counter = 0;
    SetFlcSwitch(ops, &counter, 10);
    SetFlcLevel(ops, &counter, 3);
    EXPECT_EQ(ops.calls, (Calls{"Ex f2 1", "Ex f3 1", "FLC 4 10", "FLC 3 3"}));
    EXPECT_EQ(counter, 2);
    ops.calls.clear();
    TurnLed1OnByModel(0x9B0, ops, &counter);
    SetFlcLevel(ops, &counter, 13);  // AXI brightness levels reach register 3 unchecked
    EXPECT_EQ(ops.calls, (Calls{"FLC 4 15", "FLC 3 6", "Ex f2 1", "Ex f3 1", "FLC 3 13"}));
}

TEST(FlcControllerTest, CounterWrapsAtTenThousandAndAMissingCounterEnablesEachTime) {
    RecordingOps ops;
    int counter = 9999;
    SetFlcSwitch(ops, &counter, 1);
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(ops.calls, Calls{"FLC 4 1"});
    ops.calls.clear();
    SetFlcSwitch(ops, nullptr, 2);
    SetFlcSwitch(ops, nullptr, 2);
    EXPECT_EQ(ops.calls, (Calls{"Ex f2 1", "Ex f3 1", "FLC 4 2", "Ex f2 1", "Ex f3 1", "FLC 4 2"}));
}

TEST(FlcControllerTest, InitCopiesTheControllersByteFromThePageOfTheProduct) {
    const std::map<std::string, int> reads{
        {"I2cRead 62 0 0", 0x11}, {"I2cRead 62 40 0", 0x22}, {"I2cRead 62 50 0", 0x33}};
    ExpectRows(
        {{{0x910, 0x919, 0x980, 0x989}, {"port 2", "I2cRead 62 40 0", "I2cWrite 46 22"}},
         {{0x990, 0x999}, {"port 2", "I2cRead 62 50 0", "I2cWrite 46 33"}},
         {{0x870, 0x91A, 0x99A, 0x9B0}, {"port 2", "I2cRead 62 0 0", "I2cWrite 46 11"}}},
        [](int productId, RecordingOps& ops) { EXPECT_TRUE(InitByModel(productId, ops)); }, reads);
    RecordingOps ops;
    ops.i2cWriteResult = false;
    EXPECT_FALSE(InitByModel(0x990, ops));
}

// What Linux cannot have is read off the tables: a model's command needs an
// outside library or the driver's property set only where its row reaches one.
TEST(OutsideNeedsTest, TheTablesTellWhatEachModelsCommandNeeds) {
    ModelOperations led, autoExposure, settings, flicker;
    led.led1On = true;
    autoExposure.autoExposureOn = true;
    settings.saveSettings = true;
    flicker.antiFlicker50 = true;
    EXPECT_EQ(OutsideNeedsOf(0x610, autoExposure), kNeedsDriverPropertySet);
    EXPECT_EQ(OutsideNeedsOf(0x617, led), kNeedsClientPropertyPageLib);
    EXPECT_EQ(OutsideNeedsOf(0x830, led), kNeedsSmiUtility);
    EXPECT_EQ(OutsideNeedsOf(0x830, autoExposure), kNeedsNothing);
    EXPECT_EQ(OutsideNeedsOf(0x811, ModelOperations{}), kNeedsSmiUtility) << "binding loads the library";
    settings.autoExposureOn = true;
    EXPECT_EQ(OutsideNeedsOf(0x870, settings), kNeedsNothing);
    EXPECT_EQ(OutsideNeedsOf(0x610, flicker), kNeedsDriverPropertySet);
    EXPECT_EQ(OutsideNeedsOf(0x9B0, led), kNeedsNothing);
}

TEST(OutsideNeedsTest, OnlyALibraryThatCannotExistIsUnmet) {
    test::FakeModules modules;
    EXPECT_EQ(UnloadableLibrary(kNeedsSmiUtility | kNeedsDriverPropertySet, modules), kNeedsNothing);
    modules.foreign = {"ClientPropertyPageLIB.dll"};
    EXPECT_EQ(UnloadableLibrary(kNeedsSmiUtility | kNeedsClientPropertyPageLib, modules), kNeedsClientPropertyPageLib);
}

}  // namespace
}  // namespace kv::ctrl
