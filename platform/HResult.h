// Result codes of the COM-shaped ports, with the platform's values, so that
// a code read in a log means the same thing on every build.
#pragma once

#include <cstdint>

namespace kv::platform {

using HResult = std::int32_t;

constexpr HResult kS_OK = 0;
constexpr HResult kS_FALSE = 1;
constexpr HResult kE_NOTIMPL = static_cast<HResult>(0x80004001u);
constexpr HResult kE_NOINTERFACE = static_cast<HResult>(0x80004002u);
constexpr HResult kE_POINTER = static_cast<HResult>(0x80004003u);
constexpr HResult kE_FAIL = static_cast<HResult>(0x80004005u);
constexpr HResult kE_INVALIDARG = static_cast<HResult>(0x80070057u);
constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154u);  // REGDB_E_CLASSNOTREG
// What the platform has no counterpart for at all, as against what a device
// or driver lacks (the camera driver's own property set off Windows).
constexpr HResult kNotOnThisPlatform = static_cast<HResult>(0x80070078u);  // ERROR_CALL_NOT_IMPLEMENTED

constexpr bool Succeeded(HResult hr) { return hr >= 0; }
constexpr bool Failed(HResult hr) { return hr < 0; }

}  // namespace kv::platform
