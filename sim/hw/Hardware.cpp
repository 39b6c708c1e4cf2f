// Helpers shared by the request handlers of one camera.
#include "sim/hw/Hardware.h"

#include <algorithm>

#include "wire/KsProperty.h"

namespace kv::sim {

Answer AnswerGet(std::span<std::uint8_t> data, std::span<const std::uint8_t> reply) {
    const auto size = static_cast<std::uint32_t>(reply.size());
    if (data.empty()) return Answer{wire::kHrMoreData, size, 0};
    if (data.size() < reply.size()) return Answer{wire::kHrInsufficientBuffer, 0, 0};
    std::copy(reply.begin(), reply.end(), data.begin());
    return Answer{platform::kS_OK, size, 0};
}

}  // namespace kv::sim
