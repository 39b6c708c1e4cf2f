// The camera object's two sample-grabber callbacks: the still callback
// (SampleGrabberCallback1), which saves each still as a BMP or JPEG file, and
// the frame callback (CSampleGrabberCB), which counts preview or playback
// frames and measures their rate. Both live inside the camera object and do
// not count references; they run on the graph's streaming thread.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "ctrl/camera/StillImage.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/MediaGraph.h"
#include "platform/Ui.h"

namespace kv::ctrl {

// Window messages the callbacks and the playback operations use.
constexpr std::uint32_t kMsgPreviewFrame = 0x8001;
constexpr std::uint32_t kMsgGraphEvent = 0x8003;
constexpr std::uint32_t kMsgStepPaused = 0x8004;
constexpr std::uint32_t kMsgStillNameWanted = 0x8014;
constexpr std::uint32_t kMsgStillWritten = 0x8015;

// Results of the still callback besides S_OK and S_FALSE.
constexpr platform::HResult kInvalidMediaType = static_cast<platform::HResult>(0x80040200u);

// Answers IUnknown and ISampleGrabberCB with `self`.
platform::HResult GrabberQueryInterface(platform::GrabberCallback* self, const platform::Guid& iid, void** out);

class SampleGrabberCallback1 : public platform::GrabberCallback {
public:
    SampleGrabberCallback1(platform::Files& files, platform::Ui& ui) : m_files(files), m_ui(ui) {}

    platform::HResult QueryInterface(const platform::Guid& iid, void** out) override {
        return GrabberQueryInterface(this, iid, out);
    }
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 2; }
    platform::HResult SampleCB(double, void*) override { return platform::kE_NOTIMPL; }
    // Writes the still: BMP for YUY2 frames, JPEG for MJPG ones.
    platform::HResult BufferCB(double sampleTime, std::uint8_t* buffer, std::int32_t length) override;

    void SetWindow(void* window);
    // Empty: the next still asks the window for a name (message 0x8014),
    // which answers by calling this.
    void SetFileName(const std::string& fileName);
    std::string fileName();
    // The grabber's connected media type, read when the still path is built.
    void SetMediaType(const platform::MediaType& type);

private:
    struct Still {
        std::string fileName;
        bool asked = false;
    };
    Still TakeFileName();
    void Finish(const Still& still, bool written);
    platform::HResult WriteBmp(const std::uint8_t* buffer, std::size_t length, const BitmapInfoHeader& header);
    platform::HResult WriteJpeg(const std::uint8_t* buffer, std::size_t length);

    platform::Files& m_files;
    platform::Ui& m_ui;
    std::mutex m_mutex;  // the window sets the name from its own thread
    void* m_window = nullptr;
    std::string m_fileName;
    platform::MediaType m_mediaType;
};

class CSampleGrabberCB : public platform::GrabberCallback {
public:
    CSampleGrabberCB(platform::Ui& ui, platform::Clock& clock) : m_ui(ui), m_clock(clock) {}

    platform::HResult QueryInterface(const platform::Guid& iid, void** out) override {
        return GrabberQueryInterface(this, iid, out);
    }
    std::uint32_t AddRef() override { return 2; }
    std::uint32_t Release() override { return 1; }
    // Counts the frame, updates the rates, and posts 0x8001 when posting.
    platform::HResult SampleCB(double sampleTime, void* sample) override;
    platform::HResult BufferCB(double, std::uint8_t*, std::int32_t) override { return platform::kS_OK; }

    void SetWindow(void* window);
    void SetPosting(bool posting);
    // The frame counter restarts at the next frame.
    void RequestReset();
    // What Graph_Release clears: posting and a pending reset.
    void Quiet();

    double currentRate();
    double meanRate();
    double lastSampleTime();
    std::uint32_t frameCounter();
    double frameTotal();

private:
    platform::Ui& m_ui;
    platform::Clock& m_clock;
    std::mutex m_mutex;
    void* m_window = nullptr;
    bool m_posting = false;
    bool m_reset = false;
    std::uint32_t m_counter = 0;
    double m_total = 0;
    double m_lastSampleTime = 0;
    bool m_started = false;
    std::uint32_t m_startTime = 0;
    std::uint32_t m_previousTime = 0;
    double m_currentRate = 0;
    double m_meanRate = 0;
};

}  // namespace kv::ctrl
