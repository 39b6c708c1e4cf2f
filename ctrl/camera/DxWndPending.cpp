// CDxWnd: the LED back-ends, the P809 tool, and the preview, still and
// playback operations. Not built yet: each one does nothing and fails.
#include "ctrl/camera/DxWnd.h"

namespace kv::ctrl {

// Not built yet.
platform::HResult CDxWnd::Device_PropertyPage(void*) { return platform::kE_NOTIMPL; }
// Not built yet.
int CDxWnd::Snapshot_Take(int) { return 0; }
// Not built yet.
int CDxWnd::Graph_Release() { return 0; }
// Not built yet.
int CDxWnd::Format_Store(const void*) { return 0; }
// Not built yet.
int CDxWnd::Buffer_Alloc(void**, int) { return 0; }
// Not built yet.
int CDxWnd::Graph_Close() { return 0; }
// Not built yet.
int CDxWnd::Format_Find(int, int) { return 0; }
// Not built yet.
std::uint8_t CDxWnd::Format_ByteAt(int) { return 0; }
// Not built yet.
int CDxWnd::Graph_IsRunning() { return 0; }
// Not built yet.
int CDxWnd::Media_Open(const std::string&) { return 0; }
// Not built yet.
int CDxWnd::Media_StepBack() { return 0; }
// Not built yet.
int CDxWnd::Media_StepForward() { return 0; }
// Not built yet.
int CDxWnd::Media_Rewind() { return 0; }
// Not built yet.
int CDxWnd::Media_PlayPause() { return 0; }
// Not built yet.
int CDxWnd::Media_IsRunning() { return 0; }
// Not built yet.
double CDxWnd::Graph_FrameRate() { return 0.0; }
// Not built yet.
int CDxWnd::Usb_ListInit() { return 0; }
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
int CDxWnd::StillPin_Snapshot(platform::Filter*) { return 0; }
// Not built yet.
platform::HResult CDxWnd::StillPin_Build(platform::Filter*) { return platform::kE_NOTIMPL; }
// Not built yet.
double CDxWnd::Preview_FrameRate() { return 0.0; }
// Not built yet.
int CDxWnd::P809_Read(const std::string&, const std::string&) { return 0; }
// Not built yet.
int CDxWnd::P809_Write(const std::string&, const std::string&) { return 0; }

}  // namespace kv::ctrl
