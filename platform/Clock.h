// Clock port: pauses between hardware requests and the local time of day.
#pragma once

#include <cstdint>

namespace kv::platform {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(unsigned milliseconds) = 0;
    virtual LocalTime Now() const = 0;
    // Milliseconds since some fixed start; only differences are meaningful.
    virtual std::uint32_t TickCount() const = 0;
};

}  // namespace kv::platform
