// zelunit's identifiers (type library, class, interfaces, the extension
// unit's property set) and the registry places its registration writes.
#pragma once

#include "platform/Guid.h"

namespace kv::plugin {

inline constexpr platform::Guid kLibIdZelunit{0x77D86AEC, 0x1F9E, 0x4044, {0x95, 0xC5, 0x0F, 0x05, 0xB3, 0x82, 0xC0, 0xF5}};
inline constexpr platform::Guid kClsidExtensionUnit{0xA0432DA0, 0xA887, 0x45F8, {0xB2, 0x8B, 0x66, 0x93, 0xC6, 0xB9, 0xE6, 0x19}};
inline constexpr platform::Guid kIidKsNodeControl{0x11737C14, 0x24A7, 0x4BB5, {0x81, 0xA0, 0x0D, 0x00, 0x38, 0x13, 0xB0, 0xC4}};
inline constexpr platform::Guid kIidExtensionUnit{0x6E92B5C0, 0x4D8A, 0x402A, {0xB5, 0x6C, 0xD2, 0xD2, 0x92, 0xE0, 0x23, 0x3B}};
// The extension unit's property set: every request the plug-in sends, and
// the node-interface key under which the proxy finds the plug-in.
inline constexpr platform::Guid kExtensionUnitSet{0x5A215226, 0x3289, 0x4156, {0x89, 0x4A, 0x5C, 0x55, 0x7C, 0xDF, 0x96, 0x64}};

// HKEY_LOCAL_MACHINE.
inline constexpr const char* kNodeInterfaceKey =
    "SYSTEM\\CurrentControlSet\\Control\\NodeInterfaces\\{5A215226-3289-4156-894A-5C557CDF9664}";
inline constexpr const char* kNodeInterfaceName = "USB Extension Unit Interface Handler";
// HKEY_CURRENT_USER: read by the register library's installation check.
inline constexpr const char* kVendorKey = "Software\\Zelmar\\UVC Extension Control";
inline constexpr const char* kVersionValue = "Version Number";
inline constexpr const char* kFileValue = "FileName Path";
inline constexpr std::uint32_t kRegisteredVersion = 0x1000;

}  // namespace kv::plugin
