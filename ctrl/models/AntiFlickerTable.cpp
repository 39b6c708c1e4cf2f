// Anti-flicker off, 60 Hz and 50 Hz, by product id.
#include <vector>

#include "ctrl/models/ModelRoutines.h"
#include "ctrl/models/ProductTable.h"

namespace kv::ctrl {

namespace {

constexpr int kOff = 0;
constexpr int k60Hz = 1;
constexpr int k50Hz = 2;

using AntiFlickerAction = void (*)(CameraOps&, int mode);

// The 0x78 sensors' band filter, by direct USB or through the library.
template <class Write>
void BandFilter78(int mode, Write write) {
    if (mode == kOff) {
        write(0x3C01, 0x34);
        return;
    }
    write(0x3C01, 0xB4);
    write(0x3C00, mode == k60Hz ? 0x00 : 0x04);
}

const std::vector<ProductRow<AntiFlickerAction>>& AntiFlickerRows() {
    static const std::vector<ProductRow<AntiFlickerAction>> rows{
        {{Id(0x9B0)}, [](CameraOps& ops, int mode) { BandFilter78(mode, [&](int r, int v) { ops.U(r, v); }); }},
        {{Ids(0x900, 0x909), Ids(0x920, 0x94F), Ids(0x960, 0x99F)},
         [](CameraOps& ops, int mode) { BandFilter78(mode, [&](int r, int v) { ops.W78(r, v); }); }},
        {{Ids(0x840, 0x849)},
         [](CameraOps& ops, int mode) {
             // "Off" has no documented value for this register: it stays as it is.
             if (mode == kOff) return;
             ops.S(0x5D, 0xF0, 2, 2);  // register page 2
             const int v = ops.SR(0x5D, 0x5B, 2);
             ops.S(0x5D, 0x5B, static_cast<unsigned>(mode == k60Hz ? (v | 0x0003) : ((v & 0x000C) | 0x0001)), 2);
         }},
        {{Ids(0x870, 0x87F), Id(0x880), Id(0x882), Id(0x884), Id(0x885), Id(0x890), Id(0x910), Id(0x912)},
         [](CameraOps& ops, int mode) {
             // Bit 0 of 0x0120 selects 60 Hz. The change goes back to the
             // register it was read from: 0x0380 is the auto-exposure
             // enable. "Off" leaves the register as it is.
             if (mode == kOff) return;
             const int v = ops.R48(0x0120);
             ops.W48(0x0120, mode == k60Hz ? (v | 0x01) : (v & 0xFE));
         }},
        {{Ids(0x710, 0x715), Ids(0x820, 0x825), Id(0x860), Id(0x863)},
         [](CameraOps& ops, int mode) {
             if (mode == kOff) return;
             ops.S(0x21, 0x22, mode == k60Hz ? 0x7F : 0x99, 1);
             ops.S(0x21, 0x23, mode == k60Hz ? 0x03 : 0x02, 1);
         }},
        {{Ids(0x9A0, 0x9AF)},
         [](CameraOps& ops, int mode) {
             if (mode == kOff) return;
             ops.W48(0x0022, mode == k60Hz ? 0x7F : 0x99);
             ops.W48(0x0023, mode == k60Hz ? 0x03 : 0x02);
         }},
        {{Ids(0x610, 0x617)},
         [](CameraOps& ops, int mode) {
             if (mode != kOff) ops.P(18, mode == k60Hz ? 1 : 0);
         }},
        {{Ids(0x810, 0x813)},
         [](CameraOps& ops, int mode) {
             if (mode != kOff) ops.SMIX(0x3C00, mode == k60Hz ? 0 : 4);
         }},
    };
    return rows;
}

}  // namespace

void SetAntiFlickerByModel(int productId, CameraOps& ops, int mode) {
    if (mode != kOff && mode != k60Hz && mode != k50Hz) return;
    if (const auto* row = FindRow(AntiFlickerRows(), productId)) row->action(ops, mode);
}

}  // namespace kv::ctrl
