// The exposure-value arithmetic.
#include "ctrl/models/ExposureMath.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kv::ctrl {

int ExposureBand(int ev) {
    struct Band {
        int below;  // the band holds the ev values under this bound
        int value;
    };
    static constexpr std::array<Band, 13> kBands{{{15, 0x8080},
                                                  {31, 0x80A0},
                                                  {47, 0x80C0},
                                                  {63, 0x80E0},
                                                  {79, 0x8100},
                                                  {95, 0x8120},
                                                  {111, 0x8140},
                                                  {127, 0x8160},
                                                  {143, 0x8180},
                                                  {159, 0x81A0},
                                                  {175, 0x81C0},
                                                  {191, 0x81E0},
                                                  {207, 0x8200}}};
    for (const Band& band : kBands) {
        if (ev < band.below) return band.value;
    }
    return 0x8220;
}

std::uint32_t PageTwoExposureWord(int ev) {
    // Built as text on purpose: outside 16 to 220 the digits run together
    // differently from the shift-and-or, and the camera gets what the text
    // says. A number too long for 32 bits saturates, as the platform's
    // conversion does.
    char text[32];
    std::snprintf(text, sizeof text, "0%x%02x", static_cast<unsigned>(ev / 16), static_cast<unsigned>(ev));
    errno = 0;
    const unsigned long long value = std::strtoull(text, nullptr, 16);
    if (errno == ERANGE || value > std::numeric_limits<std::uint32_t>::max()) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(value);
}

namespace {

// d / div on unsigned 32-bit numbers, in floating point: a zero divisor
// gives infinity for a nonzero d and not-a-number for a zero one.
double Ratio(std::uint32_t d, std::uint32_t div) {
    if (div == 0) return d == 0 ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
    return static_cast<double>(d) / static_cast<double>(div);
}

}  // namespace

int StepRatioTarget(StepRatioRecipe recipe, int ev, const StepRatioReadings& readings) {
    // The command line passes ev unchecked: work in 64 bits and hand the
    // register writes the low bits, which is all they send.
    const bool mode2 = readings.mode == 2;
    const long long g = static_cast<long long>(ev) * 70 / 3;
    const long long l = static_cast<long long>(ev) * 35 / 3;
    // The difference wraps below zero as an unsigned number and so counts as
    // a large ratio.
    const std::uint32_t d = static_cast<std::uint32_t>(readings.hi * 256 + readings.lo - (mode2 ? 206 : 103));
    const double r = Ratio(d, static_cast<std::uint32_t>(readings.div));
    long long target = 0;
    if (recipe == StepRatioRecipe::A) {
        const bool above = r > 32;  // false for not-a-number
        if (mode2) target = above ? 2 * g + 412 : g + 206;
        else target = above ? 2 * l + 206 : l + 103;
    } else {
        const bool above = r > 20;
        if (mode2) target = above ? 2 * g + 412 : l + 206;
        else target = above ? 2 * g + 206 : l + 103;
    }
    return static_cast<int>(target);
}

}  // namespace kv::ctrl
