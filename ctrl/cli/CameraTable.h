// The Korvex cameras found by enumeration, and the fields the dispatcher and
// the camera object read from each one.
#pragma once

#include <array>
#include <string>

#include "ctrl/common/KorvexDevices.h"

namespace kv::ctrl {

struct CameraEntry {
    // e.g. vid_a168&pid_0990&mi_00\6&12ab34cd&0&0000
    std::string strInstance;
    // the lower-cased device path from its 22nd character on: the product-id
    // digits and the rest of the instance path
    std::string strPathTail;
};

class CameraTable {
public:
    static constexpr int kCapacity = kMaxKorvexCameras;

    // Fills the next entry from a lower-cased device path; false (and nothing
    // stored) when the table is full.
    bool Add(const std::string& lowerDevicePath);

    int nCamCount() const { return m_count; }
    // Positions at or beyond nCamCount() are empty entries.
    const CameraEntry& at(int position) const;

private:
    std::array<CameraEntry, kCapacity> m_entries{};
    int m_count = 0;
};

// The device path from its ninth character up to the first "#{", each "#"
// turned into "\".
std::string InstanceFromDevicePath(const std::string& lowerDevicePath);
std::string PathTailFromDevicePath(const std::string& lowerDevicePath);

// The four characters after the first "pid_" found from the second character
// on (shorter or empty when the text ends first).
std::string PidText(const std::string& text);
// sPid read as hexadecimal; text that is not hexadecimal gives 0.
int ProductIdFromPidText(const std::string& sPid);

}  // namespace kv::ctrl
