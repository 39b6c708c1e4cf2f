// The camera list the form works with: what it needs of the connected
// cameras, and the few settings it keeps for the current one.
#pragma once

#include <cstdint>
#include <string>

namespace kv::gui {

// The answer of the AXI query: a low byte of 255 means the camera has no AXI
// LED, bit 0 that it has one.
inline constexpr std::int16_t kNoAxiLed = 0x00FF;
inline constexpr std::int16_t kAxiLedPresent = 0x0001;

class CameraList {
public:
    virtual ~CameraList() = default;
    // Reads the connected cameras again (at start-up, at every refresh and
    // when the system reports a camera arriving or leaving).
    virtual void Update() = 0;
    virtual int Count() const = 0;
    // The text of the camera's row; empty for an index outside the list.
    virtual std::string DisplayName(int index) const = 0;
    // A text that holds "pid_" and the product id; empty outside the list.
    virtual std::string DeviceString(int index) const = 0;
    // The camera the form works on; -1 for none.
    virtual void SetCurrent(int index) = 0;
    virtual int Current() const = 0;
    // Two on/off switches that the form sets around its camera choices.
    virtual bool FirstSwitch() const = 0;
    virtual void SetFirstSwitch(bool on) = 0;
    virtual bool SecondSwitch() const = 0;
    virtual void SetSecondSwitch(bool on) = 0;
    // The AXI query of the current camera (see kNoAxiLed, kAxiLedPresent).
    virtual std::int16_t QueryAxi() const = 0;
};

}  // namespace kv::gui
