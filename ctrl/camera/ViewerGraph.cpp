// The viewer: releasing the graphs, the frame format and size list, the
// buffers and the USB device list of the viewer.
#include "ctrl/camera/Viewer.h"

#include <cstdlib>
#include <span>

namespace kv::ctrl {

BufferBlocks::~BufferBlocks() {
    for (const auto& [block, size] : m_sizes) std::free(block);
}

int BufferBlocks::Alloc(void** buffer, int bytes) {
    if (!buffer || bytes <= 0) return 0;
    const auto size = static_cast<std::size_t>(bytes);
    if (*buffer) {
        const auto known = m_sizes.find(*buffer);
        if (known == m_sizes.end()) return 0;
        if (known->second == size) return 1;
    }
    void* block = std::calloc(size, 1);
    if (!block) return 0;
    if (*buffer) {
        std::free(*buffer);
        m_sizes.erase(*buffer);
    }
    m_sizes[block] = size;
    *buffer = block;
    return 1;
}

int CameraViewer::Graph_Release() {
    m_state.frameCallback.Quiet();
    Playback& playback = m_state.playback;
    if (playback.control) static_cast<void>(playback.control->Stop());
    // The grabbers go with their graphs, after them: a grabber may be
    // delivering to a callback until its graph has stopped.
    playback = Playback{};
    if (m_state.camera.control) static_cast<void>(m_state.camera.control->Stop());
    m_state.camera = platform::CameraGraph{};
    m_state.stillGrabber.reset();
    m_state.nullRenderer.reset();
    m_properties.ReleaseInterfaces();
    return 1;
}

int CameraViewer::Format_Store(const void* bitmapInfoHeader) {
    if (!bitmapInfoHeader) return 0;
    const auto bytes = std::span(static_cast<const std::uint8_t*>(bitmapInfoHeader), BitmapInfoHeader::kBytes);
    m_state.frameFormat.Store(*BitmapInfoHeader::FromBytes(bytes));
    return 1;
}

int CameraViewer::Usb_ListInit() {
    m_state.usbList = m_ports.directUsb.ListInit();
    if (m_state.usbList) return 1;
    m_ports.console.WriteLine("Error initializing device list.");
    return 0;
}

}  // namespace kv::ctrl
