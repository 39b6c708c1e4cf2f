// What one request to the model answers, and the record of it that goes into
// the rig's trace.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/HResult.h"
#include "sim/hw/I2cTypes.h"

namespace kv::sim {

using platform::HResult;

// The answer to one request. A nonzero hangMs asks the caller to let that
// much time pass before it returns the answer (the model never sleeps).
struct Answer {
    HResult hr = platform::kS_OK;
    std::uint32_t bytesReturned = 0;
    std::uint32_t hangMs = 0;
};

using Bytes = std::vector<std::uint8_t>;

struct RecordField {
    std::string name;
    std::variant<std::int64_t, std::string, Bytes> value;
};

// Filled by the model while it handles one request.
struct RequestRecord {
    std::string path;  // "bridge-xu", "plugin-xu", "aveo-xu", "driver", "ks", ...
    std::string op;
    std::vector<RecordField> fields;
    std::vector<I2cEvent> i2c;
    HResult hr = platform::kS_OK;
    std::uint32_t hangMs = 0;

    void Add(std::string name, std::int64_t value) { fields.push_back({std::move(name), value}); }
    void Add(std::string name, std::string value) { fields.push_back({std::move(name), std::move(value)}); }
    void Add(std::string name, Bytes value) { fields.push_back({std::move(name), std::move(value)}); }
};

}  // namespace kv::sim
