// zelunit's COM identity: type library, class and interface. The property
// set it serves, the node-instance interface and the registry places its
// registration writes are wire vocabulary (wire/).
#pragma once

#include "platform/Guid.h"

namespace kv::plugin {

inline constexpr platform::Guid kLibIdZelunit{
    0x77D86AEC, 0x1F9E, 0x4044, {0x95, 0xC5, 0x0F, 0x05, 0xB3, 0x82, 0xC0, 0xF5}};
inline constexpr platform::Guid kClsidExtensionUnit{
    0xA0432DA0, 0xA887, 0x45F8, {0xB2, 0x8B, 0x66, 0x93, 0xC6, 0xB9, 0xE6, 0x19}};
inline constexpr platform::Guid kIidExtensionUnit{
    0x6E92B5C0, 0x4D8A, 0x402A, {0xB5, 0x6C, 0xD2, 0xD2, 0x92, 0xE0, 0x23, 0x3B}};

}  // namespace kv::plugin
