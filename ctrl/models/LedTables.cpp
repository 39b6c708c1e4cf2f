// LED set 1, LED set 2 and LED off, by product id.
#include <vector>

#include "ctrl/models/ModelRoutines.h"
#include "ctrl/models/ProductTable.h"

namespace kv::ctrl {

namespace {

constexpr int kFlcAllOn = 15;
constexpr int kFlcAllOff = 16;
constexpr int kFlcFullLevel = 6;

struct LedCall {
    CameraOps& ops;
    int* flcUseCount;
};
using LedAction = void (*)(LedCall&);
using LedRow = ProductRow<LedAction>;

// Bridge register 0x84 holds the LED lines' state; the new state goes to
// 0x80. Nothing is written when the read fails.
template <int AndMask, int OrMask>
void BridgeLine(LedCall& call) {
    int value = 0;
    if (call.ops.BridgeRead(0x84, value)) call.ops.BridgeWrite(0x80, (value & AndMask) | OrMask);
}

template <GpioLed Pattern, int Mode>
void Gpio(LedCall& call) {
    call.ops.LedGpio(Pattern, Mode);
}

template <LibraryLed Which, int Mode>
void Library(LedCall& call) {
    call.ops.LedLibrary(Which, Mode);
}

template <BridgeLed Helper, int Mode>
void Bridge(LedCall& call) {
    call.ops.LedBridge(Helper, Mode);
}

template <int Mode, int Level>
void KsProp(LedCall& call) {
    call.ops.LedKsProp(Mode, Level);
}

template <int Pattern>
void Flc(LedCall& call) {
    SetFlcSwitch(call.ops, call.flcUseCount, Pattern);
    SetFlcLevel(call.ops, call.flcUseCount, kFlcFullLevel);
}

const std::vector<LedRow>& Led1Rows() {
    static const std::vector<LedRow> rows{
        {EachOf({0x840, 0x841, 0x842, 0x843, 0x844, 0x845, 0x846, 0x847, 0x848, 0x849, 0x710, 0x712, 0x713, 0x715,
                 0x716, 0x950}),
         Gpio<GpioLed::A, 1>},
        {EachOf({0x820, 0x863}), Gpio<GpioLed::B, 1>},
        {EachOf({0x850, 0x852}), Gpio<GpioLed::C, 1>},
        {EachOf({0x825}), Gpio<GpioLed::D, 1>},
        {EachOf({0x860}), Gpio<GpioLed::E, 1>},
        {EachOf({0x810, 0x830}), Library<LibraryLed::Smi810, 1>},
        {EachOf({0x812}), Library<LibraryLed::Smi812, 1>},
        {EachOf({0x870, 0x871, 0x873, 0x875, 0x876, 0x878, 0x880, 0x881, 0x885, 0x890, 0x910}), BridgeLine<0xFF, 0x01>},
        {EachOf({0x872, 0x874, 0x879, 0x882, 0x884, 0x892, 0x902, 0x912, 0x922}), BridgeLine<0xFA, 0x01>},
        {EachOf({0x900, 0x920, 0x929}), BridgeLine<0xFA, 0x04>},
        {{Ids(0x960, 0x99F)}, Bridge<BridgeLed::F2F3, 1>},
        {{Ids(0x611, 0x615)}, KsProp<1, 0>},
        {EachOf({0x610}), KsProp<2, 2>},
        {EachOf({0x617}), Library<LibraryLed::AsicLib, 1>},
        {{Ids(0x9B0, 0x9BF)}, Flc<kFlcAllOn>},
    };
    return rows;
}

const std::vector<LedRow>& Led2Rows() {
    static const std::vector<LedRow> rows{
        {EachOf({0x712, 0x842, 0x849}), Gpio<GpioLed::A, 2>},
        {EachOf({0x820, 0x863}), Gpio<GpioLed::B, 2>},
        {EachOf({0x852}), Gpio<GpioLed::C, 2>},
        {EachOf({0x825}), Gpio<GpioLed::D, 2>},
        {EachOf({0x860}), Gpio<GpioLed::E, 2>},
        {EachOf({0x810, 0x830}), Library<LibraryLed::Smi810, 2>},
        {EachOf({0x812}), Library<LibraryLed::Smi812, 2>},
        {EachOf({0x872, 0x874, 0x879, 0x882, 0x884, 0x902, 0x912, 0x922}), BridgeLine<0xFA, 0x04>},
        {{Ids(0x960, 0x99F)}, Bridge<BridgeLed::F2F3, 2>},
        {EachOf({0x617}), Library<LibraryLed::AsicLib, 2>},
    };
    return rows;
}

const std::vector<LedRow>& LedOffRows() {
    static const std::vector<LedRow> rows{
        {EachOf({0x847, 0x712, 0x842, 0x849}), Gpio<GpioLed::A, 0>},
        {EachOf({0x840, 0x841, 0x843, 0x844, 0x845, 0x846, 0x848, 0x713, 0x710, 0x714, 0x715, 0x716, 0x950}),
         Gpio<GpioLed::A, 2>},
        {EachOf({0x820, 0x863}), Gpio<GpioLed::B, 0>},
        {EachOf({0x850}), Gpio<GpioLed::C, 2>},
        {EachOf({0x852}), Gpio<GpioLed::C, 0>},
        {EachOf({0x825}), Gpio<GpioLed::D, 0>},
        {EachOf({0x860}), Gpio<GpioLed::E, 0>},
        {EachOf({0x810, 0x830}), Library<LibraryLed::Smi810, 0>},
        {EachOf({0x812}), Library<LibraryLed::Smi812, 0>},
        {EachOf({0x870, 0x871, 0x873, 0x875, 0x876, 0x878, 0x880, 0x881, 0x885, 0x890, 0x910}),
         Bridge<BridgeLed::Bit0, 0>},
        {EachOf({0x900, 0x920}), Bridge<BridgeLed::Bit2, 0>},
        {EachOf({0x902, 0x922, 0x929, 0x872, 0x874, 0x879, 0x882, 0x884, 0x892, 0x912}), Bridge<BridgeLed::Bits02, 0>},
        {{Ids(0x960, 0x99F)}, Bridge<BridgeLed::F2F3, 0>},
        {{Ids(0x611, 0x615)}, KsProp<0, 0>},
        {EachOf({0x610}), KsProp<2, 1>},
        {EachOf({0x617}), Library<LibraryLed::AsicLib, 0>},
        {{Ids(0x9B0, 0x9BF)}, Flc<kFlcAllOff>},
    };
    return rows;
}

void Run(const std::vector<LedRow>& rows, int productId, CameraOps& ops, int* flcUseCount) {
    LedCall call{ops, flcUseCount};
    if (const LedRow* row = FindRow(rows, productId)) row->action(call);
}

}  // namespace

// After either LED-on command the next FLC command enables the controller
// again.
void TurnLed1OnByModel(int productId, CameraOps& ops, int* flcUseCount) {
    Run(Led1Rows(), productId, ops, flcUseCount);
    if (flcUseCount) *flcUseCount = 0;
}

void TurnLed2OnByModel(int productId, CameraOps& ops, int* flcUseCount) {
    Run(Led2Rows(), productId, ops, flcUseCount);
    if (flcUseCount) *flcUseCount = 0;
}

void TurnLedOffByModel(int productId, CameraOps& ops, int* flcUseCount) {
    Run(LedOffRows(), productId, ops, flcUseCount);
}

}  // namespace kv::ctrl
