// The still and frame callbacks of the camera object's sample grabbers.
#include "ctrl/camera/GrabberCallbacks.h"

#include <span>

#include "ctrl/camera/StillImage.h"

namespace kv::ctrl {

namespace {

using platform::HResult;
using platform::MakeGuid;

const platform::Guid kIidUnknown = MakeGuid("{00000000-0000-0000-C000-000000000046}");
const platform::Guid kIidSampleGrabberCB = MakeGuid("{0579154A-2B53-4994-B0D0-E773148EFF85}");
const platform::Guid kMediaTypeVideo = MakeGuid("{73646976-0000-0010-8000-00AA00389B71}");
const platform::Guid kFormatVideoInfo = MakeGuid("{05589F80-C356-11CE-BF01-00AA0055595A}");
const platform::Guid kSubtypeYuy2 = MakeGuid("{32595559-0000-0010-8000-00AA00389B71}");
const platform::Guid kSubtypeMjpg = MakeGuid("{47504A4D-0000-0010-8000-00AA00389B71}");

// VIDEOINFOHEADER: two rectangles, bit rate, error rate and the frame time
// come before its BITMAPINFOHEADER.
constexpr std::size_t kVideoInfoHeaderOffset = 48;
constexpr std::size_t kVideoInfoBytes = kVideoInfoHeaderOffset + BitmapInfoHeader::kBytes;

}  // namespace

HResult GrabberQueryInterface(platform::GrabberCallback* self, const platform::Guid& iid, void** out) {
    if (!out) return platform::kE_POINTER;
    if (iid == kIidUnknown || iid == kIidSampleGrabberCB) {
        *out = self;
        self->AddRef();
        return platform::kS_OK;
    }
    *out = nullptr;
    return platform::kE_NOINTERFACE;
}

void SampleGrabberCallback1::SetWindow(void* window) {
    std::lock_guard lock(m_mutex);
    m_window = window;
}

void SampleGrabberCallback1::SetFileName(const std::string& fileName) {
    std::lock_guard lock(m_mutex);
    m_fileName = fileName;
}

std::string SampleGrabberCallback1::fileName() {
    std::lock_guard lock(m_mutex);
    return m_fileName;
}

void SampleGrabberCallback1::SetMediaType(const platform::MediaType& type) {
    std::lock_guard lock(m_mutex);
    m_mediaType = type;
}

HResult SampleGrabberCallback1::BufferCB(double, std::uint8_t* buffer, std::int32_t length) {
    platform::MediaType type;
    {
        std::lock_guard lock(m_mutex);
        type = m_mediaType;
    }
    if (type.majorType != kMediaTypeVideo || type.formatType != kFormatVideoInfo ||
        type.format.size() < kVideoInfoBytes)
        return kInvalidMediaType;
    const std::size_t bytes = buffer && length > 0 ? static_cast<std::size_t>(length) : 0;
    if (type.subType == kSubtypeYuy2)
        return WriteBmp(buffer, bytes,
                        *BitmapInfoHeader::FromBytes(std::span(type.format).subspan(kVideoInfoHeaderOffset)));
    if (type.subType == kSubtypeMjpg) return WriteJpeg(buffer, bytes);
    return platform::kS_OK;
}

// The name set, or else the one the window gives in answer to 0x8014 (sent,
// so it is set when the call returns).
SampleGrabberCallback1::Still SampleGrabberCallback1::TakeFileName() {
    Still still;
    void* window = nullptr;
    {
        std::lock_guard lock(m_mutex);
        still.fileName = m_fileName;
        window = m_window;
    }
    if (still.fileName.empty()) {
        m_ui.SendWindowMessage(window, kMsgStillNameWanted, 0, 0);
        still.asked = true;
        still.fileName = fileName();
    }
    return still;
}

// The name is used once; a window that gave it hears that the still is
// there.
void SampleGrabberCallback1::Finish(const Still& still, bool written) {
    void* window = nullptr;
    {
        std::lock_guard lock(m_mutex);
        m_fileName.clear();
        window = m_window;
    }
    if (written && still.asked) m_ui.SendWindowMessage(window, kMsgStillWritten, 0, 0);
}

HResult SampleGrabberCallback1::WriteBmp(const std::uint8_t* buffer, std::size_t length,
                                         const BitmapInfoHeader& header) {
    const Still still = TakeFileName();
    auto file = m_files.CreateBinary(still.fileName);
    if (!file) {
        m_ui.ShowMessageBox("INVALID_HANDLE_VALUE");
        return platform::kS_FALSE;
    }
    const std::vector<std::uint8_t> pixels = Yuy2ToBgr(std::span(buffer, length), header.width, header.height);
    bool written = !pixels.empty();
    if (written) {
        const auto bmpHeader = BmpFileHeader(header.width, header.height, static_cast<std::uint32_t>(pixels.size()));
        if (bmpHeader) written = file->Write(bmpHeader->data(), bmpHeader->size()) == bmpHeader->size();
        written = written && file->Write(pixels.data(), pixels.size()) == pixels.size() && file->Commit();
    }
    file.reset();  // an unfinished file is removed here
    Finish(still, written);
    return written ? platform::kS_OK : platform::kS_FALSE;
}

HResult SampleGrabberCallback1::WriteJpeg(const std::uint8_t* buffer, std::size_t length) {
    const Still still = TakeFileName();
    auto file = m_files.CreateBinary(still.fileName);
    if (!file) {
        m_ui.ShowMessageBox("INVALID_FILE_PATH");
        return platform::kS_FALSE;
    }
    const bool written = (length == 0 || file->Write(buffer, length) == length) && file->Commit();
    file.reset();
    Finish(still, written);
    return written ? platform::kS_OK : platform::kS_FALSE;
}

void CSampleGrabberCB::SetWindow(void* window) {
    std::lock_guard lock(m_mutex);
    m_window = window;
}

void CSampleGrabberCB::SetPosting(bool posting) {
    std::lock_guard lock(m_mutex);
    m_posting = posting;
}

void CSampleGrabberCB::RequestReset() {
    std::lock_guard lock(m_mutex);
    m_reset = true;
}

void CSampleGrabberCB::Quiet() {
    std::lock_guard lock(m_mutex);
    m_posting = false;
    m_reset = false;
}

HResult CSampleGrabberCB::SampleCB(double sampleTime, void* sample) {
    const std::uint32_t now = m_clock.TickCount();
    void* postTo = nullptr;
    bool post = false;
    {
        std::lock_guard lock(m_mutex);
        m_total += 1;
        m_lastSampleTime = sampleTime;
        // The first frame starts the clock; frames within one millisecond
        // leave the rates as they were rather than dividing by zero.
        if (!m_started) {
            m_started = true;
            m_startTime = now;
        } else {
            if (now != m_previousTime) m_currentRate = 1000.0 / static_cast<double>(now - m_previousTime);
            if (now != m_startTime) m_meanRate = m_total * 1000.0 / static_cast<double>(now - m_startTime);
        }
        m_previousTime = now;
        if (m_reset) {
            m_reset = false;
            m_counter = 0;
        } else {
            ++m_counter;
        }
        post = m_posting;
        postTo = m_window;
    }
    if (post) m_ui.PostWindowMessage(postTo, kMsgPreviewFrame, 0, reinterpret_cast<std::intptr_t>(sample));
    return platform::kS_OK;
}

double CSampleGrabberCB::currentRate() {
    std::lock_guard lock(m_mutex);
    return m_currentRate;
}

double CSampleGrabberCB::meanRate() {
    std::lock_guard lock(m_mutex);
    return m_meanRate;
}

double CSampleGrabberCB::lastSampleTime() {
    std::lock_guard lock(m_mutex);
    return m_lastSampleTime;
}

std::uint32_t CSampleGrabberCB::frameCounter() {
    std::lock_guard lock(m_mutex);
    return m_counter;
}

double CSampleGrabberCB::frameTotal() {
    std::lock_guard lock(m_mutex);
    return m_total;
}

}  // namespace kv::ctrl
