// The parts of one camera wired together for the length of one request.
#pragma once

#include <span>

#include "sim/hw/Bridge.h"
#include "sim/hw/CameraConfig.h"
#include "sim/hw/CameraState.h"
#include "sim/hw/I2cBus.h"
#include "sim/hw/Request.h"
#include "wire/KsProperty.h"

namespace kv::sim {

struct Hardware {
    Hardware(const CameraConfig& cfg, CameraState& st, RequestRecord* rec)
        : config(cfg),
          state(st),
          record(rec),
          bus(cfg.i2cDevices, st.i2cDevices, rec ? &rec->i2c : nullptr),
          bridge(cfg, st.bridge, bus) {}

    const CameraConfig& config;
    CameraState& state;
    RequestRecord* record;
    I2cBus bus;
    Bridge bridge;
};

// The answer to a get of a control whose current contents are `reply`: a
// zero-length get is a size query (more data, with the size), a shorter
// buffer is refused, a longer one gets the reply's bytes.
Answer AnswerGet(std::span<std::uint8_t> data, std::span<const std::uint8_t> reply);

// A set that the device does not take (wrong size, bad contents) stalls.
inline Answer Stall() { return Answer{wire::kHrGenFailure, 0, 0}; }

}  // namespace kv::sim
