// The registry places the plug-in's registration writes and the register
// library's installation check reads: the vendor key with its values, and
// the node-interface key that makes the plug-in the handler of its unit.
#pragma once

#include <cstdint>

namespace kv::wire {

// HKEY_CURRENT_USER, and a machine-wide copy that the setup records.
inline constexpr const char* kVendorKey = "Software\\Zelmar\\UVC Extension Control";
inline constexpr const char* kVersionValue = "Version Number";
inline constexpr const char* kFileValue = "FileName Path";
// What the plug-in's own registration records, and the least the check
// accepts: a plug-in that registered itself alone is started again.
constexpr std::uint32_t kRegisteredVersion = 0x1000;
constexpr std::uint32_t kMinimumPluginVersion = 0x1001;

// HKEY_LOCAL_MACHINE: one key per property set, named by the set's GUID text.
inline constexpr const char* kNodeInterfacesKey = "SYSTEM\\CurrentControlSet\\Control\\NodeInterfaces";
// The plug-in unit's key (kPluginXuSet) and the name its default value holds.
inline constexpr const char* kPluginNodeInterfaceKey =
    "SYSTEM\\CurrentControlSet\\Control\\NodeInterfaces\\{5A215226-3289-4156-894A-5C557CDF9664}";
inline constexpr const char* kNodeInterfaceName = "USB Extension Unit Interface Handler";

}  // namespace kv::wire
