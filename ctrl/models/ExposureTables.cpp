// Auto exposure on/off and the exposure value, by product id.
#include <vector>

#include "ctrl/models/ExposureMath.h"
#include "ctrl/models/ModelRoutines.h"
#include "ctrl/models/ProductTable.h"

namespace kv::ctrl {

namespace {

// ev comes from the command line unchecked; an offset must not overflow.
int Offset(int ev, long long by) { return static_cast<int>(ev + by); }

// Auto exposure: each row reads what it changes, then writes.
using AeAction = void (*)(CameraOps&, bool on);

const std::vector<ProductRow<AeAction>>& AutoExposureRows() {
    static const std::vector<ProductRow<AeAction>> rows{
        {{Id(0x9B0)},
         [](CameraOps& ops, bool on) {
             const int v = ops.UR(0x3503);
             ops.U(0x3503, on ? (v & 0xFC) : (v | 0x03));
             ops.U(0x3035, 0x11);
         }},
        {{Ids(0x960, 0x99F), Ids(0x900, 0x909), Ids(0x920, 0x929)},
         [](CameraOps& ops, bool on) {
             const int v = ops.R78(0x3503);
             ops.W78(0x3503, on ? (v & 0xFC) : (v | 0x03));
         }},
        {{Ids(0x870, 0x899), Ids(0x910, 0x919)},
         [](CameraOps& ops, bool on) {
             const int v = ops.R48(0x0380);
             ops.W48(0x0380, on ? (v | 0x01) : (v & 0xFE));
         }},
        {{Ids(0x810, 0x813)}, [](CameraOps& ops, bool on) { ops.SMI(0x3503, on ? 0 : 7); }},
        {{Ids(0x840, 0x848)},
         [](CameraOps& ops, bool on) {
             ops.S(0x5D, 0xF0, 1, 2);  // register page 1
             ops.Pause(30);
             ops.S(0x5D, 0x06, on ? 0x709E : 0x309E, 2);
             ops.Pause(30);
             ops.S(0x5D, 0x0A, 0x8011, 2);
             ops.Pause(30);
         }},
        {{Ids(0x850, 0x852)},
         [](CameraOps& ops, bool on) {
             ops.S(0x20, 0x03, 0x20, 1);
             const int v = ops.SR(0x20, 0x10, 1);
             ops.S(0x20, 0x10, static_cast<unsigned>(on ? (v | 0x80) : (v & 0x7F)), 1);
         }},
        {{Ids(0x710, 0x715), Ids(0x820, 0x825), Id(0x860), Id(0x863), Id(0x950)},
         [](CameraOps& ops, bool on) { ops.S(0x21, 0x13, on ? 0xBD : 0xB8, 1); }},
        {{Ids(0x610, 0x617)}, [](CameraOps& ops, bool on) { ops.P(11, on ? 1 : 0); }},
    };
    return rows;
}

// The four auto-exposure target registers of the 0x78 sensors.
template <class Write>
void FourTargets(int ev, Write write) {
    write(0x3A1E, ev);
    write(0x3A1B, Offset(ev, 16));
    write(0x3A10, Offset(ev, 2));
    write(0x3A0F, Offset(ev, 14));
}

void StepRatio(CameraOps& ops, int ev, StepRatioRecipe recipe) {
    const StepRatioReadings readings{ops.R48(0x085A), ops.R48(0x085B), ops.R48(0x085C), ops.R48(0x038E)};
    ops.W48(0x038E, ev);
    if (recipe == StepRatioRecipe::A) ops.Pause(20);
    const int target = StepRatioTarget(recipe, ev, readings);
    ops.W48(0x085A, target / 256);
    ops.Pause(20);
    ops.W48(0x085B, target % 256);
    ops.Pause(20);
    ops.W48(0x085C, 1);
    if (recipe == StepRatioRecipe::A) ops.Pause(20);
}

using EvAction = void (*)(CameraOps&, int ev);

const std::vector<ProductRow<EvAction>>& ExposureValueRows() {
    static const std::vector<ProductRow<EvAction>> rows{
        {{Id(0x9B0)}, [](CameraOps& ops, int ev) { FourTargets(ev, [&](int r, int v) { ops.U(r, v); }); }},
        {{Ids(0x900, 0x909), Ids(0x920, 0x929), Ids(0x960, 0x99F)},
         [](CameraOps& ops, int ev) { FourTargets(ev, [&](int r, int v) { ops.W78(r, v); }); }},
        {{Ids(0x810, 0x813)},
         [](CameraOps& ops, int ev) {
             ops.SMI(0x3A1E, ev);
             ops.Pause(50);
             ops.SMI(0x3A1B, Offset(ev, 48));
             ops.Pause(50);
             ops.SMI(0x3A10, Offset(ev, 16));
             ops.Pause(50);
             ops.SMI(0x3A0F, Offset(ev, 32));
         }},
        {{Ids(0x870, 0x899)}, [](CameraOps& ops, int ev) { StepRatio(ops, ev, StepRatioRecipe::A); }},
        {{Ids(0x910, 0x919)}, [](CameraOps& ops, int ev) { StepRatio(ops, ev, StepRatioRecipe::B); }},
        {{Ids(0x840, 0x848)},
         [](CameraOps& ops, int ev) {
             ops.S(0x5D, 0xF0, 2, 2);  // register page 2
             ops.Pause(20);
             ops.S(0x5D, 0x2E, PageTwoExposureWord(ev), 2);
             ops.Pause(20);
             ops.S(0x5D, 0x37, static_cast<unsigned>(ExposureBand(ev)), 2);
             ops.Pause(20);
         }},
        {{Ids(0x850, 0x852)},
         [](CameraOps& ops, int ev) {
             ops.S(0x20, 0x03, 0x20, 1);
             ops.S(0x20, 0x70, static_cast<unsigned>(ev), 1);
         }},
        {{Ids(0x710, 0x715), Ids(0x820, 0x825), Id(0x860), Id(0x863), Id(0x950)},
         [](CameraOps& ops, int ev) {
             ops.S(0x21, 0x24, static_cast<unsigned>(ev), 1);
             ops.S(0x21, 0x25, static_cast<unsigned>(Offset(ev, -16)), 1);
         }},
        {{Ids(0x610, 0x617)}, [](CameraOps& ops, int ev) { ops.P(12, static_cast<int>(ev * 10000LL)); }},
    };
    return rows;
}

}  // namespace

void SetAutoExposureByModel(int on, int productId, CameraOps& ops) {
    if (const auto* row = FindRow(AutoExposureRows(), productId)) row->action(ops, on == 1);
}

void SetExposureValueByModel(int ev, int productId, CameraOps& ops) {
    if (const auto* row = FindRow(ExposureValueRows(), productId)) row->action(ops, ev);
}

}  // namespace kv::ctrl
