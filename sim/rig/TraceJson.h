// One line of the trace file: a request to one camera, as JSON.
#pragma once

#include <cstdint>
#include <string>

#include "sim/hw/Request.h"

namespace kv::sim {

struct TraceContext {
    std::uint64_t sequence = 0;  // position of the request among all requests to the rig
    std::int64_t process = 0;    // id of the process that made it
    std::size_t camera = 0;      // device index in the rig
};

// {"seq":..,"process":..,"camera":..,"path":..,"op":.., request fields ..,
//  "hr":"0x........", ["hangMs":..,] ["i2c":[..]]} without a line end.
std::string TraceLine(const TraceContext& context, const RequestRecord& record);

}  // namespace kv::sim
