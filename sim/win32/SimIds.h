// Identifiers the simulated rig's Windows parts share: the capture filter's
// class, the registry places the installer writes, the property that tells
// a filter which rig device it stands for, and the node-control interface in
// the platform's GUID type.
#pragma once

#include <windows.h>

#include "sim/win32/WinGuid.h"
#include "wire/PropertySets.h"

namespace kv::sim::win32 {

// {7B0DCD66-A421-41B3-BE78-55A42A495E0E}: kvsimcam.dll's capture filter.
inline constexpr GUID kClsidSimCamera = {0x7B0DCD66, 0xA421, 0x41B3, {0xBE, 0x78, 0x55, 0xA4, 0x2A, 0x49, 0x5E, 0x0E}};
inline constexpr const wchar_t* kClsidSimCameraText = L"{7B0DCD66-A421-41B3-BE78-55A42A495E0E}";
inline constexpr const wchar_t* kSimCameraName = L"Korvex simulated capture filter";

// {E0D590BB-6541-4B7A-B248-12D116161D6C}: a class that is never registered.
// Pointing the system device enumerator's TreatAs at it makes the enumerator
// impossible to create, which is how a rig asks for that failure.
inline constexpr const wchar_t* kClsidNoEnumeratorText = L"{E0D590BB-6541-4B7A-B248-12D116161D6C}";
inline constexpr const wchar_t* kClsidSystemDeviceEnumText = L"{62BE5D10-60EB-11D0-BD3B-00A0C911CE86}";

// HKLM: where the installer leaves the rig's file name for the stand-ins.
inline constexpr const wchar_t* kSimulatorKey = L"Software\\Korvex\\Simulator";
inline constexpr const wchar_t* kRigValue = L"Rig";

// HKCR: the video-input category's registered devices.
inline constexpr const wchar_t* kVideoInputInstancesKey = L"CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance";

// Every simulated device is registered under this instance-name prefix
// followed by its three-digit rig index, so that the enumerator (which lists
// the category's instances by name) keeps the rig's order and a new install
// can find and remove the previous one's devices.
inline constexpr const wchar_t* kInstancePrefix = L"kvsim-device-";

// Property-bag entry (VT_I4) that names the device's index in the rig.
inline constexpr const wchar_t* kDeviceIndexProperty = L"KvSimDevice";

// Interface the node plug-ins of an extension unit receive their node and
// filter through, as the platform's COM calls take it.
inline const GUID kIidKsNodeControl = ToWinGuid(wire::kIidKsNodeControl);

}  // namespace kv::sim::win32
