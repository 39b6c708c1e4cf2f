// The rows of Setting.ini, one per sensor family, to be read line by line
// against the documented table.
#include "ctrl/models/ExposureSettingsTable.h"

#include <array>

namespace kv::ctrl {

namespace {

// The auto-exposure target and window registers of the 0x78 sensors.
constexpr std::array<ExposureKey, 4> kKeys78{{{"3A1E", 0x3A1E}, {"3A1B", 0x3A1B}, {"3A10", 0x3A10}, {"3A0F", 0x3A0F}}};
constexpr std::array<ExposureKey, 2> kKeys21{{{"24", 0x24}, {"25", 0x25}}};
constexpr std::array<ExposureKey, 8> kKeys48{{{"038E", 0x038E},
                                              {"085A", 0x085A},
                                              {"085B", 0x085B},
                                              {"085C", 0x085C},
                                              {"0018", 0x0018},
                                              {"001D", 0x001D},
                                              {"0015", 0x0015},
                                              {"0016", 0x0016}}};
// Page-2 register 0x23 is kept under the key "0237" (not 0x37): files saved
// so far carry that key, so it stays.
constexpr std::array<ExposureKey, 2> kKeys5D{{{"0237", 0x23}, {"022e", 0x2E}}};

constexpr std::array<ProductRange, 1> kKd329{{{0x9B0, 0x9B0}}};
constexpr std::array<ProductRange, 2> kKb21V6{{{0x900, 0x909}, {0x920, 0x929}}};
constexpr std::array<ProductRange, 1> kKb29{{{0x960, 0x99F}}};
constexpr std::array<ProductRange, 2> kKb21{{{0x810, 0x810}, {0x812, 0x813}}};  // 0x811 has no row
constexpr std::array<ProductRange, 1> kMh40{{{0x710, 0x716}}};
constexpr std::array<ProductRange, 1> kMh40V6{{{0x9A0, 0x9AF}}};
constexpr std::array<ProductRange, 1> kTn21V6{{{0x870, 0x879}}};
constexpr std::array<ProductRange, 2> kTn29{{{0x880, 0x889}, {0x910, 0x919}}};
constexpr std::array<ProductRange, 1> kTn21{{{0x840, 0x848}}};

constexpr LoadPauses kNoPauses{};
constexpr LoadPauses kMh40Pauses{0, 250, 0, 2250};
constexpr LoadPauses kTn21V6Pauses{0, 0, 50, 50};
constexpr LoadPauses kTn29Pauses{0, 0, 50, 0};
constexpr LoadPauses kTn21Pauses{50, 0, 50, 50};

constexpr std::array<ExposureRow, 9> kRows{{
    {"Kd329", kKd329, kKeys78, ExposurePath::DirectUsb78, "%02x", kNoPauses},
    {"Kb21V6", kKb21V6, kKeys78, ExposurePath::XuLib78, "%02x", kNoPauses},
    {"Kb29", kKb29, kKeys78, ExposurePath::XuLib78, "%02x", kNoPauses},
    {"Kb21", kKb21, kKeys78, ExposurePath::Smi, "%02x", kNoPauses},
    {"Mh40", kMh40, kKeys21, ExposurePath::Sensor21Byte, "%02x", kMh40Pauses},
    {"Mh40V6", kMh40V6, kKeys21, ExposurePath::Sensor21Byte, "%02x", kMh40Pauses},
    {"Tn21V6", kTn21V6, kKeys48, ExposurePath::XuLib48, "%02x", kTn21V6Pauses},
    {"Tn29", kTn29, kKeys48, ExposurePath::XuLib48, "%02x", kTn29Pauses},
    {"Tn21", kTn21, kKeys5D, ExposurePath::Sensor5DPage2, "%04x", kTn21Pauses},
}};

}  // namespace

const ExposureRow* FindExposureRow(int productId) {
    for (const ExposureRow& row : kRows) {
        for (const ProductRange& range : row.products) {
            if (productId >= range.first && productId <= range.last) return &row;
        }
    }
    return nullptr;
}

}  // namespace kv::ctrl
