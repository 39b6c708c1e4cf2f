// A pin enumerator over no pins: the simulated filter models a camera's
// controls, not its video streams.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace kv::sim::win32 {

HRESULT CreateEmptyPinEnumerator(IEnumPins** pins);

}  // namespace kv::sim::win32
