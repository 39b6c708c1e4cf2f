// LED sets wired to general-purpose lines of the bridge chip. Each pattern
// drives two lines; which level lights an LED is the camera's wiring.
#include "ctrl/camera/LedBackEnds.h"

#include <array>

namespace kv::ctrl {

namespace {

constexpr int kGpioLevels = 0x1006;
constexpr int kGpioEnables = 0x1007;

// Line pair and the two levels per mode (0, 1, 2) of one LED pattern.
struct GpioPattern {
    int lineA;
    int lineB;
    std::array<std::array<int, 2>, 3> levels;
};

constexpr GpioPattern kPatternA{0, 2, {{{1, 1}, {1, 0}, {0, 1}}}};
constexpr GpioPattern kPatternB{4, 0, {{{0, 0}, {1, 0}, {0, 1}}}};
constexpr GpioPattern kPatternC{4, 0, {{{1, 1}, {0, 1}, {1, 0}}}};
constexpr GpioPattern kPatternD{4, 0, {{{0, 1}, {1, 1}, {0, 0}}}};
constexpr GpioPattern kPatternE{4, 0, {{{1, 0}, {1, 1}, {0, 0}}}};

}  // namespace

int LedBackEnds::Gpio_SetPair(int lineA, int levelA, int lineB, int levelB) {
    const std::array<std::array<int, 2>, 2> pairs{{{lineA, levelA}, {lineB, levelB}}};
    for (const auto& [line, level] : pairs) {
        const auto bit = static_cast<std::uint8_t>(1u << line);
        // A register whose read failed is left alone: writing back a value we
        // never read would drive the camera's other lines at random.
        std::uint8_t value = 0;
        if (m_bridge.Asic_Read(kGpioEnables, &value)) m_bridge.Asic_Write(kGpioEnables, value | bit);
        if (m_bridge.Asic_Read(kGpioLevels, &value)) {
            m_bridge.Asic_Write(kGpioLevels, level == 1 ? (value | bit) : (value & static_cast<std::uint8_t>(~bit)));
        }
    }
    return 0;
}

namespace {

int SetPattern(LedBackEnds& leds, const GpioPattern& pattern, int mode) {
    if (mode < 0 || mode > 2) return 0;
    const auto& levels = pattern.levels[static_cast<std::size_t>(mode)];
    return leds.Gpio_SetPair(pattern.lineA, levels[0], pattern.lineB, levels[1]);
}

}  // namespace

int LedBackEnds::LedGpioA_Set(int mode) { return SetPattern(*this, kPatternA, mode); }
int LedBackEnds::LedGpioB_Set(int mode) { return SetPattern(*this, kPatternB, mode); }
int LedBackEnds::LedGpioC_Set(int mode) { return SetPattern(*this, kPatternC, mode); }
int LedBackEnds::LedGpioD_Set(int mode) { return SetPattern(*this, kPatternD, mode); }
int LedBackEnds::LedGpioE_Set(int mode) { return SetPattern(*this, kPatternE, mode); }

}  // namespace kv::ctrl
