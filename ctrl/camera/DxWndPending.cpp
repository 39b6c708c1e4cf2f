// CDxWnd: the preview, still and playback operations. Not built yet: each
// one does nothing and fails.
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
int CDxWnd::StillPin_Snapshot(platform::Filter*) { return 0; }
// Not built yet.
platform::HResult CDxWnd::StillPin_Build(platform::Filter*) { return platform::kE_NOTIMPL; }
// Not built yet.
double CDxWnd::Preview_FrameRate() { return 0.0; }

}  // namespace kv::ctrl
