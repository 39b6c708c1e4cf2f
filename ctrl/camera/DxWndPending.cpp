// CDxWnd: the LED back-ends, the P809 tool, and the preview, still and
// playback operations. Not built yet: each one does nothing and fails.
#include "ctrl/camera/DxWnd.h"

namespace kv::ctrl {

// Not built yet.
int CDxWnd::LedGpioA_Set(int) { return 0; }
// Not built yet.
int CDxWnd::LedGpioB_Set(int) { return 0; }
// Not built yet.
int CDxWnd::LedGpioC_Set(int) { return 0; }
// Not built yet.
int CDxWnd::LedGpioD_Set(int) { return 0; }
// Not built yet.
int CDxWnd::LedGpioE_Set(int) { return 0; }
// Not built yet.
int CDxWnd::LedKsProp_Set(int, int) { return 0; }
// Not built yet.
int CDxWnd::LedKsProp_SetLevel(int) { return 0; }
// Not built yet.
int CDxWnd::LedSmi810_Set(int) { return 0; }
// Not built yet.
int CDxWnd::LedSmi812_Set(int) { return 0; }
// Not built yet.
int CDxWnd::LedAsicLib_Set(int) { return 0; }
// Not built yet.
int CDxWnd::Gpio_SetPair(int, int, int, int) { return 0; }
// Not built yet.
int CDxWnd::P809_Read(const std::string&, const std::string&) { return 0; }
// Not built yet.
int CDxWnd::P809_Write(const std::string&, const std::string&) { return 0; }

}  // namespace kv::ctrl
