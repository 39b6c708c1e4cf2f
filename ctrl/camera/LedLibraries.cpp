// LED sets switched through a camera driver property, through the GPIO
// ports of SMIUtility, or through ClientPropertyPageLIB's bridge access.
#include <array>
#include <functional>

#include "ctrl/camera/ClientPropertyPageLib.h"
#include "ctrl/camera/LedBackEnds.h"

namespace kv::ctrl {

namespace {

constexpr int kLedProperty = 29;
// The driver's LED values: 1 switches the LED off, 2 on.
constexpr int kLedPropertyOff = 1;
constexpr int kLedPropertyOn = 2;

constexpr int kPort0 = 0;
constexpr int kPort3 = 3;
constexpr int kClearBit1 = 0xFD;
constexpr int kClearBit2 = 0xFB;
constexpr int kKeepAll = ~0;

// SMIUtility's GPIO ports of one camera: addressed by its product id, or the
// library's current device.
struct GpioPorts {
    std::function<int(int port, int* value)> get;
    std::function<int(int port, int value)> set;

    // Read-modify-write of one port.
    void Change(int port, int andMask, int orMask) const {
        int value = 0;
        get(port, &value);
        set(port, (value & andMask) | orMask);
    }
    // Both LED lines off: bit 1 of ports 0 and 3 cleared.
    void AllOff() const {
        Change(kPort0, kClearBit1, 0);
        Change(kPort3, kClearBit1, 0);
    }
    // The first LED set: port 0 bit 1 set, port 3 bit 2 cleared.
    void FirstOn() const {
        Change(kPort0, kKeepAll, 0x02);
        Change(kPort3, kClearBit2, 0);
    }
};

GpioPorts ByProduct(SmiUtilityLibrary& smi, int productId) {
    return {[&smi, productId](int port, int* value) { return smi.GetGpioValueByVidPid(port, value, productId); },
            [&smi, productId](int port, int value) { return smi.SetGpioValueByVidPid(port, value, productId); }};
}

GpioPorts CurrentDevice(SmiUtilityLibrary& smi) {
    return {[&smi](int port, int* value) { return smi.GetGpioValue(port, value); },
            [&smi](int port, int value) { return smi.SetGpioValue(port, value); }};
}

}  // namespace

int LedBackEnds::LedKsProp_Set(int mode, int level) {
    switch (mode) {
    case 0:
        return m_properties.KsProp_Set(kLedProperty, kLedPropertyOff);
    case 1:
        return m_properties.KsProp_Set(kLedProperty, kLedPropertyOn);
    case 2:
        return m_properties.KsProp_Set(kLedProperty, level);
    default:
        return 0;
    }
}

int LedBackEnds::LedKsProp_SetLevel(int level) {
    if (!m_filterPair.baseFilter) return platform::kE_POINTER;
    std::shared_ptr<platform::KsControl> control;
    const platform::HResult queried = m_filterPair.baseFilter->QueryKsControl(control);
    if (platform::Failed(queried)) return queried;
    m_filterPair.ksControl = control;
    return m_properties.KsProp_Set(kLedProperty, level);
}

int LedBackEnds::LedSmi810_Set(int mode) {
    const GpioPorts ports = ByProduct(m_smi, 0x810);
    if (mode == 0) ports.AllOff();
    if (mode == 1) ports.FirstOn();
    return 0;
}

int LedBackEnds::LedSmi812_Set(int mode) {
    const GpioPorts ports = ByProduct(m_smi, 0x812);
    if (mode == 0) ports.AllOff();
    if (mode == 1) {
        // The second set, on the library's current device rather than by
        // product: port 0 bit 1 cleared, port 3 bit 2 set.
        const GpioPorts current = CurrentDevice(m_smi);
        current.Change(kPort0, kClearBit1, 0);
        current.Change(kPort3, kKeepAll, 0x04);
    }
    if (mode == 2) ports.FirstOn();
    return 0;
}

int LedBackEnds::LedAsicLib_Set(int mode) {
    auto library = ClientPropertyPageLib::Load(m_ports.modules);
    if (!library) {
        m_log.Log(std::string(ClientPropertyPageLib::kLibraryName) + " not loaded: LED unchanged");
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
