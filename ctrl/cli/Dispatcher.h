// The step that carries the parsed command out on the cameras of the table.
#pragma once

#include "ctrl/camera/DxWnd.h"
#include "ctrl/cli/CameraTable.h"
#include "ctrl/cli/CommandLine.h"

namespace kv::ctrl {

class Dispatcher {
public:
    virtual ~Dispatcher() = default;
    // Called once per run with at least one camera in the table.
    virtual void Dispatch(const ParsedCommand& command, const CameraTable& table, CDxWnd& camera) = 0;
};

}  // namespace kv::ctrl
