// The model's GUIDs are the platform's: one type from the wire to the ports.
#pragma once

#include "platform/Guid.h"

namespace kv::sim {

using platform::Guid;
using platform::MakeGuid;

}  // namespace kv::sim
