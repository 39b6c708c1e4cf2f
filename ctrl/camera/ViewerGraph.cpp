// CDxWnd: releasing the graphs, the frame format and size list, the
// buffers and the USB device list of the viewer.
#include "ctrl/camera/DxWnd.h"

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

int CDxWnd::Graph_Release() {
    m_viewer.frameCallback.Quiet();
    Playback& playback = m_viewer.playback;
    if (playback.control) static_cast<void>(playback.control->Stop());
    // The grabbers go with their graphs, after them: a grabber may be
    // delivering to a callback until its graph has stopped.
    playback = Playback{};
    if (m_viewer.camera.control) static_cast<void>(m_viewer.camera.control->Stop());
    m_viewer.camera = platform::CameraGraph{};
    m_viewer.stillGrabber.reset();
    m_viewer.nullRenderer.reset();
    m_procAmp.reset();
    m_camCtrl.reset();
    return 1;
}

int CDxWnd::Graph_Close() { return Graph_Release(); }

int CDxWnd::Format_Store(const void* bitmapInfoHeader) {
    if (!bitmapInfoHeader) return 0;
    const auto bytes = std::span(static_cast<const std::uint8_t*>(bitmapInfoHeader), BitmapInfoHeader::kBytes);
    m_viewer.frameFormat.Store(*BitmapInfoHeader::FromBytes(bytes));
    return 1;
}

int CDxWnd::Format_Find(int width, int height) { return m_viewer.frameSizes.Find(width, height) ? 1 : 0; }

std::uint8_t CDxWnd::Format_ByteAt(int index) { return m_viewer.frameSizes.ByteAt(index); }

int CDxWnd::Buffer_Alloc(void** buffer, int bytes) { return m_viewer.buffers.Alloc(buffer, bytes); }

int CDxWnd::Usb_ListInit() {
    m_viewer.usbList = m_ports.directUsb.ListInit();
    if (m_viewer.usbList) return 1;
    m_ports.console.WriteLine("Error initializing device list.");
    return 0;
}

}  // namespace kv::ctrl
