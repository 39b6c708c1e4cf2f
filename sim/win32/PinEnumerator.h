// IEnumPins over the simulated filter's pins.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

namespace kv::sim::win32 {

// The enumerator holds a reference to each pin.
HRESULT CreatePinEnumerator(const std::vector<IPin*>& pins, IEnumPins** out);

}  // namespace kv::sim::win32
