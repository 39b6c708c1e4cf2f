// The arithmetic of the exposure-value tables.
#pragma once

#include <cstdint>

namespace kv::ctrl {

// Page-2 register 0x37 of the 0x840 family's sensor: a step table over ev.
int ExposureBand(int ev);
// Page-2 register 0x2E of the same sensor: the text "0", ev / 16 and ev in
// hexadecimal, read back as one hexadecimal number (for ev 16 to 220 that is
// ((ev / 16) << 8) | ev).
std::uint32_t PageTwoExposureWord(int ev);

// The two step-ratio recipes of the 0x48 sensors: the new value of the
// 0x085A/0x085B register pair from ev and the registers read before.
enum class StepRatioRecipe { A, B };
struct StepRatioReadings {
    int hi;    // 0x085A
    int lo;    // 0x085B
    int mode;  // 0x085C
    int div;   // 0x038E
};
int StepRatioTarget(StepRatioRecipe recipe, int ev, const StepRatioReadings& readings);

}  // namespace kv::ctrl
