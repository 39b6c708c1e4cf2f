// What the camera object keeps for its viewer operations: the camera graph
// a host hands it, the still path, the playback graph, the frame format and
// the blocks Buffer_Alloc gave out.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ctrl/camera/FrameFormat.h"
#include "ctrl/camera/GrabberCallbacks.h"
#include "platform/DirectUsb.h"
#include "platform/MediaGraph.h"

namespace kv::ctrl {

// AM_SEEKING_* flags and the seeking formats the playback uses.
constexpr std::uint32_t kSeekingCanSeekForwards = 0x2;
constexpr std::uint32_t kSeekingNoPositioning = 0x0;
constexpr std::uint32_t kSeekingAbsolute = 0x1;

// The playback state's values.
constexpr std::int32_t kPlaybackNone = -1;
constexpr std::int32_t kPlaybackPaused = 1;
constexpr std::int32_t kPlaybackPlaying = 2;

struct Playback {
    std::shared_ptr<platform::FilterGraph> graph;
    std::shared_ptr<platform::FileSource> source;
    std::shared_ptr<platform::SampleGrabber> grabber;
    std::shared_ptr<platform::MediaControl> control;
    std::shared_ptr<platform::MediaSeeking> seeking;
    std::shared_ptr<platform::MediaEvents> events;
    std::shared_ptr<platform::FrameStep> frameStep;
    std::int32_t state = kPlaybackNone;
    bool open = false;
    // Positions are in the seeking time format in force: frames when the
    // graph accepted the frame format, else 100-ns units.
    bool framesFormat = false;
    std::uint32_t capabilities = 0;
    std::int64_t startPosition = 0;
    std::int64_t endPosition = 0;
    std::int32_t stepCounter = 0;
    std::int64_t durationSeconds = 0;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
    std::string durationText;
};

// The zero-filled blocks Buffer_Alloc hands out. They live as long as the
// camera object; a pointer that did not come from here is never freed.
class BufferBlocks {
public:
    BufferBlocks() = default;
    ~BufferBlocks();
    BufferBlocks(const BufferBlocks&) = delete;
    BufferBlocks& operator=(const BufferBlocks&) = delete;
    // 1 when *buffer holds a zero-filled block of `bytes` (a new one unless
    // it had that size already); 0, leaving *buffer alone, otherwise.
    int Alloc(void** buffer, int bytes);

private:
    std::map<void*, std::size_t> m_sizes;
};

struct ViewerState {
    ViewerState(platform::Files& files, platform::Ui& ui, platform::Clock& clock)
        : stillCallback(files, ui), frameCallback(ui, clock) {}

    // Declared first, so destroyed last: the graphs below may call them
    // until they go.
    SampleGrabberCallback1 stillCallback;
    CSampleGrabberCB frameCallback;
    platform::CameraGraph camera;
    std::shared_ptr<platform::SampleGrabber> stillGrabber;
    std::shared_ptr<platform::GraphFilter> nullRenderer;
    Playback playback;
    // 100-ns units per frame, as the last connected video format gave it.
    std::int64_t averageFrameTime = 333333;
    FrameFormat frameFormat;
    FrameSizeList frameSizes;
    BufferBlocks buffers;
    std::unique_ptr<platform::UsbDeviceList> usbList;
};

}  // namespace kv::ctrl
