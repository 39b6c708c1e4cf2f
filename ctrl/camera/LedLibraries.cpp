// CDxWnd: LED sets switched through a camera driver property, through the
// GPIO ports of SMIUtility, or through ClientPropertyPageLIB's bridge access.
#include <array>
#include <functional>

#include "ctrl/camera/ClientPropertyPageLib.h"
#include "ctrl/camera/DxWnd.h"

namespace kv::ctrl {

namespace {

constexpr int kLedProperty = 29;
// The driver's LED values: 1 switches the LED off, 2 on.
constexpr int kLedPropertyOff = 1;
constexpr int kLedPropertyOn = 2;

using GpioGet = std::function<int(int port, int* value)>;
using GpioSet = std::function<int(int port, int value)>;

// Read-modify-write of one SMIUtility GPIO port.
void ChangePort(const GpioGet& get, const GpioSet& set, int port, int andMask, int orMask) {
    int value = 0;
    get(port, &value);
    set(port, (value & andMask) | orMask);
}

constexpr int kPort0 = 0;
constexpr int kPort3 = 3;
constexpr int kClearBit1 = 0xFD;
constexpr int kClearBit2 = 0xFB;
constexpr int kKeepAll = ~0;

}  // namespace

int CDxWnd::LedKsProp_Set(int mode, int level) {
    switch (mode) {
        case 0: return KsProp_Set(kLedProperty, kLedPropertyOff);
        case 1: return KsProp_Set(kLedProperty, kLedPropertyOn);
        case 2: return KsProp_Set(kLedProperty, level);
        default: return 0;
    }
}

int CDxWnd::LedKsProp_SetLevel(int level) {
    if (!m_filterPair.baseFilter) return platform::kE_POINTER;
    std::shared_ptr<platform::KsControl> control;
    const platform::HResult queried = m_filterPair.baseFilter->QueryKsControl(control);
    if (platform::Failed(queried)) return queried;
    m_filterPair.ksControl = control;
    return KsProp_Set(kLedProperty, level);
}

int CDxWnd::LedSmi810_Set(int mode) {
    constexpr int kProduct = 0x810;
    const GpioGet get = [this](int port, int* value) { return m_smi.GetGpioValueByVidPid(port, value, kProduct); };
    const GpioSet set = [this](int port, int value) { return m_smi.SetGpioValueByVidPid(port, value, kProduct); };
    if (mode == 0) {
        ChangePort(get, set, kPort0, kClearBit1, 0);
        ChangePort(get, set, kPort3, kClearBit1, 0);
    } else if (mode == 1) {
        ChangePort(get, set, kPort0, kKeepAll, 0x02);
        ChangePort(get, set, kPort3, kClearBit2, 0);
    }
    return 0;
}

int CDxWnd::LedSmi812_Set(int mode) {
    constexpr int kProduct = 0x812;
    const GpioGet get = [this](int port, int* value) { return m_smi.GetGpioValueByVidPid(port, value, kProduct); };
    const GpioSet set = [this](int port, int value) { return m_smi.SetGpioValueByVidPid(port, value, kProduct); };
    // Mode 1 addresses the library's current device rather than the product.
    const GpioGet getCurrent = [this](int port, int* value) { return m_smi.GetGpioValue(port, value); };
    const GpioSet setCurrent = [this](int port, int value) { return m_smi.SetGpioValue(port, value); };
    if (mode == 0) {
        ChangePort(get, set, kPort0, kClearBit1, 0);
        ChangePort(get, set, kPort3, kClearBit1, 0);
    } else if (mode == 1) {
        ChangePort(getCurrent, setCurrent, kPort0, kClearBit1, 0);
        ChangePort(getCurrent, setCurrent, kPort3, kKeepAll, 0x04);
    } else if (mode == 2) {
        ChangePort(get, set, kPort0, kKeepAll, 0x02);
        ChangePort(get, set, kPort3, kClearBit2, 0);
    }
    return 0;
}

int CDxWnd::LedAsicLib_Set(int mode) {
    auto library = ClientPropertyPageLib::Load(m_ports.modules);
    if (!library) {
        Log(std::string(ClientPropertyPageLib::kLibraryName) + " not loaded: LED unchanged");
        return 0;
    }
    library->InitialLIB();
    if (mode >= 0 && mode <= 2) {
        struct Step {
            long reg;
            std::array<bool, 3> setBit;  // per mode: OR the mask in, or AND it out
            long mask;
        };
        static constexpr std::array<Step, 4> kSteps{{{0x1007, {true, true, true}, 0x20},
                                                     {0x1006, {true, true, false}, 0x20},
                                                     {0x100B, {true, true, true}, 0x02},
                                                     {0x100A, {true, false, true}, 0x02}}};
        for (const Step& step : kSteps) {
            long value = 0;
            library->ReadAsic(step.reg, &value);
            value = step.setBit[static_cast<std::size_t>(mode)] ? (value | step.mask) : (value & ~step.mask);
            library->WriteAsic(step.reg, value);
        }
    }
    library->UNInitialLIB();
    library.reset();  // frees the library
    return 1;
}

}  // namespace kv::ctrl
