// Auto exposure, exposure value and anti-flicker by product id, and the
// exposure arithmetic.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "ctrl/models/ExposureMath.h"
#include "ctrl/models/ModelRoutines.h"
#include "tests/models/RecordingOps.h"

namespace kv::ctrl {
namespace {

using test::RecordingOps;
using Calls = std::vector<std::string>;

Calls Observe(int productId, const std::function<void(int, RecordingOps&)>& command,
              const std::map<std::string, int>& reads = {}) {
    RecordingOps ops;
    ops.reads = reads;
    command(productId, ops);
    return ops.calls;
}

auto AeOn = [](int productId, RecordingOps& ops) { SetAutoExposureByModel(1, productId, ops); };
auto AeOff = [](int productId, RecordingOps& ops) { SetAutoExposureByModel(0, productId, ops); };

TEST(AutoExposureTableTest, EachRowReadsWhatItChangesForOnAndOff) {
    const std::map<std::string, int> reads{
        {"UR 3503", 0x05}, {"R78 3503", 0x05}, {"R48 380", 0x02}, {"SR 20 10 1", 0x41}};
    EXPECT_EQ(Observe(0x9B0, AeOn, reads), (Calls{"UR 3503", "U 3503 4", "U 3035 11"}));
    EXPECT_EQ(Observe(0x9B0, AeOff, reads), (Calls{"UR 3503", "U 3503 7", "U 3035 11"}));
    for (int productId : {0x960, 0x99F, 0x900, 0x909, 0x920, 0x929}) {
        EXPECT_EQ(Observe(productId, AeOn, reads), (Calls{"R78 3503", "W78 3503 4"}));
        EXPECT_EQ(Observe(productId, AeOff, reads), (Calls{"R78 3503", "W78 3503 7"})) << "off reads v too";
    }
    for (int productId : {0x870, 0x899, 0x910, 0x919}) {
        EXPECT_EQ(Observe(productId, AeOn, reads), (Calls{"R48 380", "W48 380 3"}));
        EXPECT_EQ(Observe(productId, AeOff, reads), (Calls{"R48 380", "W48 380 2"}));
    }
    for (int productId : {0x810, 0x813}) {
        EXPECT_EQ(Observe(productId, AeOn), Calls{"SMI 3503 0"});
        EXPECT_EQ(Observe(productId, AeOff), Calls{"SMI 3503 7"});
    }
    for (int productId : {0x840, 0x848}) {
        EXPECT_EQ(Observe(productId, AeOn),
                  (Calls{"S 5d f0 1 2", "pause 30", "S 5d 6 709e 2", "pause 30", "S 5d a 8011 2", "pause 30"}));
        EXPECT_EQ(Observe(productId, AeOff)[2], "S 5d 6 309e 2");
    }
    for (int productId : {0x850, 0x852}) {
        EXPECT_EQ(Observe(productId, AeOn, reads), (Calls{"S 20 3 20 1", "SR 20 10 1", "S 20 10 c1 1"}));
        EXPECT_EQ(Observe(productId, AeOff, reads), (Calls{"S 20 3 20 1", "SR 20 10 1", "S 20 10 41 1"}));
    }
    for (int productId : {0x710, 0x715, 0x820, 0x825, 0x860, 0x863, 0x950}) {
        EXPECT_EQ(Observe(productId, AeOn), Calls{"S 21 13 bd 1"});
        EXPECT_EQ(Observe(productId, AeOff), Calls{"S 21 13 b8 1"});
    }
    for (int productId : {0x610, 0x617}) {
        EXPECT_EQ(Observe(productId, AeOn), Calls{"P 11 1"});
        EXPECT_EQ(Observe(productId, AeOff), Calls{"P 11 0"});
    }
    for (int productId : {0x716, 0x9A0, 0x9AF, 0x849, 0x8A0, 0x9B1}) EXPECT_TRUE(Observe(productId, AeOn).empty());
}

auto Ev = [](int ev) {
    return [ev](int productId, RecordingOps& ops) { SetExposureValueByModel(ev, productId, ops); };
};

TEST(ExposureValueTableTest, EachRowWritesTheDocumentedRegisters) {
    EXPECT_EQ(Observe(0x9B0, Ev(100)), (Calls{"U 3a1e 64", "U 3a1b 74", "U 3a10 66", "U 3a0f 72"}));
    for (int productId : {0x900, 0x909, 0x920, 0x929, 0x960, 0x99F}) {
        EXPECT_EQ(Observe(productId, Ev(100)), (Calls{"W78 3a1e 64", "W78 3a1b 74", "W78 3a10 66", "W78 3a0f 72"}));
    }
    for (int productId : {0x810, 0x813}) {
        EXPECT_EQ(Observe(productId, Ev(220)), (Calls{"SMI 3a1e 220", "pause 50", "SMI 3a1b 268", "pause 50",
                                                      "SMI 3a10 236", "pause 50", "SMI 3a0f 252"}))
            << "handed over unclipped";
    }
    for (int productId : {0x840, 0x848}) {
        EXPECT_EQ(Observe(productId, Ev(16)),
                  (Calls{"S 5d f0 2 2", "pause 20", "S 5d 2e 110 2", "pause 20", "S 5d 37 80a0 2", "pause 20"}));
    }
    EXPECT_EQ(Observe(0x840, Ev(220))[2], "S 5d 2e ddc 2");
    for (int productId : {0x850, 0x852}) EXPECT_EQ(Observe(productId, Ev(100)), (Calls{"S 20 3 20 1", "S 20 70 64 1"}));
    for (int productId : {0x710, 0x715, 0x820, 0x825, 0x860, 0x863, 0x950}) {
        EXPECT_EQ(Observe(productId, Ev(100)), (Calls{"S 21 24 64 1", "S 21 25 54 1"}));
    }
    for (int productId : {0x610, 0x617}) EXPECT_EQ(Observe(productId, Ev(100)), Calls{"P 12 1000000"});
    for (int productId : {0x716, 0x9A0, 0x9AF, 0x849, 0x8A0}) EXPECT_TRUE(Observe(productId, Ev(100)).empty());
}

TEST(ExposureValueTableTest, StepRatioRecipesReadFourRegistersThenWriteWithTheirPauses) {
    // mode 2, hi:lo = 0x1234 - 206 = 4454, div 10: ratio 445 is above both thresholds.
    const std::map<std::string, int> reads{{"R48 85a", 0x12}, {"R48 85b", 0x34}, {"R48 85c", 2}, {"R48 38e", 10}};
    const Calls readsFirst{"R48 85a", "R48 85b", "R48 85c", "R48 38e"};
    // ev 100: g = 2333, 2g + 412 = 5078 = 0x13D6.
    Calls a = readsFirst;
    a.insert(a.end(),
             {"W48 38e 64", "pause 20", "W48 85a 13", "pause 20", "W48 85b d6", "pause 20", "W48 85c 1", "pause 20"});
    for (int productId : {0x870, 0x899}) EXPECT_EQ(Observe(productId, Ev(100), reads), a);
    Calls b = readsFirst;
    b.insert(b.end(), {"W48 38e 64", "W48 85a 13", "pause 20", "W48 85b d6", "pause 20", "W48 85c 1"});
    for (int productId : {0x910, 0x919}) EXPECT_EQ(Observe(productId, Ev(100), reads), b);
}

TEST(ExposureMathTest, BandSteps) {
    EXPECT_EQ(ExposureBand(14), 0x8080);
    EXPECT_EQ(ExposureBand(-5), 0x8080);
    EXPECT_EQ(ExposureBand(15), 0x80A0);
    EXPECT_EQ(ExposureBand(16), 0x80A0);
    EXPECT_EQ(ExposureBand(30), 0x80A0);
    EXPECT_EQ(ExposureBand(31), 0x80C0);
    EXPECT_EQ(ExposureBand(190), 0x81E0);
    EXPECT_EQ(ExposureBand(206), 0x8200);
    EXPECT_EQ(ExposureBand(207), 0x8220);
    EXPECT_EQ(ExposureBand(208), 0x8220);
    EXPECT_EQ(ExposureBand(INT_MAX), 0x8220);
}

TEST(ExposureMathTest, PageTwoWordIsTheHexadecimalTextReadBack) {
    EXPECT_EQ(PageTwoExposureWord(16), 0x0110u);
    EXPECT_EQ(PageTwoExposureWord(220), 0x0DDCu);
    for (int ev = 16; ev <= 220; ++ev) EXPECT_EQ(PageTwoExposureWord(ev), static_cast<unsigned>(((ev / 16) << 8) | ev));
    EXPECT_EQ(PageTwoExposureWord(300), 0x1212Cu) << "digits run together beyond 255";
    EXPECT_EQ(PageTwoExposureWord(-1), 0xFFFFFFFFu) << "too long for 32 bits: saturates";
}

TEST(ExposureMathTest, StepRatioThresholdsWrapZeroDivisorAndNotANumber) {
    using R = StepRatioReadings;
    const int ev = 30;  // g = 700, l = 350
    // Ratio exactly at the threshold is not above: 103 + 32 * 4 over div 4.
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::A, ev, R{0, 231, 1, 4}), 350 + 103);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::A, ev, R{0, 232, 1, 4}), 2 * 350 + 206);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::A, ev, R{0, 206 + 33, 2, 1}), 2 * 700 + 412);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::A, ev, R{0, 206 + 32, 2, 1}), 700 + 206);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::B, ev, R{0, 206 + 21, 2, 1}), 2 * 700 + 412);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::B, ev, R{0, 206 + 20, 2, 1}), 350 + 206);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::B, ev, R{0, 103 + 21, 0, 1}), 2 * 700 + 206);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::B, ev, R{0, 103 + 20, 0, 1}), 350 + 103);
    // Below the subtrahend the difference wraps and counts as above.
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::A, ev, R{0, 5, 1, 255}), 2 * 350 + 206);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::B, ev, R{0, 5, 2, 255}), 2 * 700 + 412);
    // A zero divisor: above for a nonzero difference, not above for zero / zero.
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::A, ev, R{0, 104, 1, 0}), 2 * 350 + 206);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::A, ev, R{0, 103, 1, 0}), 350 + 103);
    EXPECT_EQ(StepRatioTarget(StepRatioRecipe::B, ev, R{0, 206, 2, 0}), 350 + 206);
    // An unchecked ev far out of range does not overflow.
    EXPECT_NO_FATAL_FAILURE(StepRatioTarget(StepRatioRecipe::A, INT_MAX, R{0, 0, 2, 1}));
}

auto Flicker = [](int mode) {
    return [mode](int productId, RecordingOps& ops) { SetAntiFlickerByModel(productId, ops, mode); };
};

TEST(AntiFlickerTableTest, OffSixtyAndFiftyByProductId) {
    EXPECT_EQ(Observe(0x9B0, Flicker(0)), Calls{"U 3c01 34"});
    EXPECT_EQ(Observe(0x9B0, Flicker(1)), (Calls{"U 3c01 b4", "U 3c00 0"}));
    EXPECT_EQ(Observe(0x9B0, Flicker(2)), (Calls{"U 3c01 b4", "U 3c00 4"}));
    for (int productId : {0x900, 0x909, 0x920, 0x94F, 0x960, 0x99F}) {
        EXPECT_EQ(Observe(productId, Flicker(0)), Calls{"W78 3c01 34"});
        EXPECT_EQ(Observe(productId, Flicker(2)), (Calls{"W78 3c01 b4", "W78 3c00 4"}));
    }
    const std::map<std::string, int> reads{{"SR 5d 5b 2", 0x00F6}, {"R48 120", 0x42}};
    for (int productId : {0x840, 0x849}) {
        EXPECT_TRUE(Observe(productId, Flicker(0), reads).empty()) << "off leaves the register alone";
        EXPECT_EQ(Observe(productId, Flicker(1), reads), (Calls{"S 5d f0 2 2", "SR 5d 5b 2", "S 5d 5b f7 2"}));
        EXPECT_EQ(Observe(productId, Flicker(2), reads), (Calls{"S 5d f0 2 2", "SR 5d 5b 2", "S 5d 5b 5 2"}));
    }
    for (int productId : {0x870, 0x87F, 0x880, 0x882, 0x884, 0x885, 0x890, 0x910, 0x912}) {
        EXPECT_TRUE(Observe(productId, Flicker(0), reads).empty());
        EXPECT_EQ(Observe(productId, Flicker(1), reads), (Calls{"R48 120", "W48 120 43"})) << "written back where read";
        EXPECT_EQ(Observe(productId, Flicker(2), reads), (Calls{"R48 120", "W48 120 42"}));
    }
    for (int productId : {0x710, 0x715, 0x820, 0x825, 0x860, 0x863}) {
        EXPECT_TRUE(Observe(productId, Flicker(0)).empty());
        EXPECT_EQ(Observe(productId, Flicker(1)), (Calls{"S 21 22 7f 1", "S 21 23 3 1"}));
        EXPECT_EQ(Observe(productId, Flicker(2)), (Calls{"S 21 22 99 1", "S 21 23 2 1"}));
    }
    for (int productId : {0x9A0, 0x9AF}) {
        EXPECT_TRUE(Observe(productId, Flicker(0)).empty());
        EXPECT_EQ(Observe(productId, Flicker(1)), (Calls{"W48 22 7f", "W48 23 3"}));
        EXPECT_EQ(Observe(productId, Flicker(2)), (Calls{"W48 22 99", "W48 23 2"}));
    }
    EXPECT_EQ(Observe(0x610, Flicker(1)), Calls{"P 18 1"});
    EXPECT_EQ(Observe(0x617, Flicker(2)), Calls{"P 18 0"});
    EXPECT_TRUE(Observe(0x613, Flicker(0)).empty());
    EXPECT_EQ(Observe(0x810, Flicker(1)), Calls{"SMIX 3c00 0"});
    EXPECT_EQ(Observe(0x813, Flicker(2)), Calls{"SMIX 3c00 4"});
    for (int productId : {0x716, 0x881, 0x8A0, 0x911, 0x950, 0x9B1})
        EXPECT_TRUE(Observe(productId, Flicker(1)).empty());
}

}  // namespace
}  // namespace kv::ctrl
