// The camera object's viewer: the camera graph a host hands it, the still
// path, file playback, the frame format and size list, the blocks
// Buffer_Alloc gave out and the USB device list.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "ctrl/camera/DeviceProperties.h"
#include "ctrl/camera/FilterPair.h"
#include "ctrl/camera/FrameFormat.h"
#include "ctrl/camera/GrabberCallbacks.h"
#include "platform/DirectUsb.h"
#include "platform/MediaGraph.h"
#include "platform/Ports.h"

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

class CameraViewer {
public:
    // Releasing the graphs also releases the property interfaces read
    // through them.
    CameraViewer(platform::Ports& ports, FilterPair& filterPair, DeviceProperties& properties)
        : m_ports(ports),
          m_filterPair(filterPair),
          m_properties(properties),
          m_state(ports.files, ports.ui, ports.clock) {}

    void SetWindow(void* window) {
        m_notifyWindow = window;
        m_state.stillCallback.SetWindow(window);
        m_state.frameCallback.SetWindow(window);
    }
    void SetCameraGraph(platform::CameraGraph graph) { m_state.camera = std::move(graph); }
    void AddFrameSize(int width, int height, std::uint8_t formatByte) {
        m_state.frameSizes.Add(width, height, formatByte);
    }
    void SetStillFileName(const std::string& fileName) { m_state.stillCallback.SetFileName(fileName); }
    void SetPreviewPosting(bool posting) { m_state.frameCallback.SetPosting(posting); }
    const ViewerState& state() const { return m_state; }
    ViewerState& state() { return m_state; }

    // Still pin and camera graph (ViewerStill.cpp). Snapshot_Take hands the
    // chosen format byte to `selectFormat` while the graph is stopped.
    platform::HResult Device_PropertyPage(void* parentWindow);
    int Snapshot_Take(int formatIndex, const std::function<void(std::uint8_t)>& selectFormat);
    int Graph_IsRunning();
    double Graph_FrameRate();
    double Preview_FrameRate() { return m_state.frameCallback.currentRate(); }
    int StillPin_Snapshot(platform::Filter* source);
    platform::HResult StillPin_Build(platform::Filter* source);

    // Playback (ViewerPlayback.cpp).
    int Media_Open(const std::string& fileName);
    int Media_StepBack();
    int Media_StepForward();
    int Media_Rewind();
    int Media_PlayPause();
    int Media_IsRunning();

    // Release, formats, buffers and the USB list (ViewerGraph.cpp).
    int Graph_Release();
    int Format_Store(const void* bitmapInfoHeader);
    int Buffer_Alloc(void** buffer, int bytes) { return m_state.buffers.Alloc(buffer, bytes); }
    int Format_Find(int width, int height) { return m_state.frameSizes.Find(width, height) ? 1 : 0; }
    std::uint8_t Format_ByteAt(int index) { return m_state.frameSizes.ByteAt(index); }
    int Usb_ListInit();

private:
    int PauseForStep();
    std::int64_t StepLength() const;
    int StoreConnectedFormat(platform::SampleGrabber& grabber);
    int BuildPlaybackChain(const std::string& fileName);
    void ReadPlaybackPositions();
    void StartFrameStepping();

    platform::Ports& m_ports;
    FilterPair& m_filterPair;
    DeviceProperties& m_properties;
    void* m_notifyWindow = nullptr;
    ViewerState m_state;
};

}  // namespace kv::ctrl
