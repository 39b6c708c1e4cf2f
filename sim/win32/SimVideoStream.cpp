// The simulated output pins' streaming thread: the capture pin delivers a
// pattern frame every frame time while the graph runs; the still pin one
// frame per trigger.
#include <chrono>

#include "sim/win32/SimVideoPin.h"

namespace kv::sim::win32 {

using Microsoft::WRL::ComPtr;

void SimVideoPin::Activate() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (active_ || !allocator_) return;  // an unconnected pin has nothing to do
    if (FAILED(allocator_->Commit())) return;
    active_ = true;
    pendingStills_ = 0;
    framesThisRun_ = 0;
    thread_ = std::thread([this] { Stream(); });
}

void SimVideoPin::Deactivate() {
    std::thread ending;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!active_) return;
        active_ = false;
        running_ = false;
        // A thread waiting for a free buffer returns from GetBuffer now.
        allocator_->Decommit();
        ending = std::move(thread_);
    }
    wake_.notify_all();
    ending.join();
}

void SimVideoPin::SetRunning(bool running) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = running;
    }
    wake_.notify_all();
}

void SimVideoPin::Trigger() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!active_ || kind_ != Kind::Still) return;
        ++pendingStills_;
    }
    wake_.notify_all();
}

void SimVideoPin::Stream() {
    const auto frameTime = std::chrono::microseconds(video::kFrameTime / 10);
    std::unique_lock<std::mutex> lock(mutex_);
    while (active_) {
        if (kind_ == Kind::Still) {
            wake_.wait(lock, [&] { return !active_ || (running_ && pendingStills_ > 0); });
            if (!active_) break;
            --pendingStills_;
        } else {
            wake_.wait_for(lock, frameTime, [&] { return !active_; });
            if (!active_) break;
            if (!running_) continue;
        }
        const std::uint32_t frame = nextFrame_++;
        const std::uint32_t sinceStart = framesThisRun_++;
        lock.unlock();
        Deliver(frame, sinceStart);
        lock.lock();
    }
}

void SimVideoPin::Deliver(std::uint32_t frame, std::uint32_t sinceStart) {
    ComPtr<IMemAllocator> allocator;
    ComPtr<IMemInputPin> input;
    FrameSize size;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        allocator = allocator_;
        input = input_;
        size = sizes_[current_];
    }
    if (!allocator || !input) return;
    ComPtr<IMediaSample> sample;
    if (FAILED(allocator->GetBuffer(&sample, nullptr, nullptr, 0)) || !sample) return;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || sample->GetSize() < FrameBytes(size)) return;
    video::FillPattern(data, static_cast<std::size_t>(FrameBytes(size)), size, frame);
    sample->SetActualDataLength(FrameBytes(size));
    sample->SetSyncPoint(TRUE);
    if (kind_ == Kind::Capture) {
        REFERENCE_TIME start = static_cast<REFERENCE_TIME>(sinceStart) * video::kFrameTime;
        REFERENCE_TIME stop = start + video::kFrameTime;
        sample->SetTime(&start, &stop);
    } else {
        // A still is shown at once, whatever the stream time.
        sample->SetTime(nullptr, nullptr);
    }
    input->Receive(sample.Get());
}

}  // namespace kv::sim::win32
