// What a command asks of a model beyond its extension units and the direct
// USB path: the outside Windows libraries and the camera driver's own
// property set. A platform that cannot have one of them cannot carry the
// command out on that model, and the dispatcher then leaves the camera alone
// rather than do part of it.
#pragma once

#include <string>

#include "platform/Modules.h"

namespace kv::ctrl {

// The per-model operations one command runs on a camera.
struct ModelOperations {
    bool led1On = false;
    bool led2On = false;
    bool ledOff = false;
    bool antiFlicker60 = false;
    bool antiFlicker50 = false;
    bool antiFlickerOff = false;
    bool init = false;
    bool autoExposureOn = false;
    bool autoExposureOff = false;
    bool exposureValue = false;
    bool saveSettings = false;
    bool loadSettings = false;  // auto exposure on, the load, auto exposure off
};

enum OutsideNeed : unsigned {
    kNeedsNothing = 0,
    kNeedsSmiUtility = 1u << 0,
    kNeedsClientPropertyPageLib = 1u << 1,
    kNeedsDriverPropertySet = 1u << 2,
};

// Read from the model tables themselves: the operations run against a
// recorder that notes what they reach, so the answer never drifts from what
// the tables do. The SMIUtility family (0x810-0x813) needs its library for
// any command, since binding the camera loads it.
unsigned OutsideNeedsOf(int productId, const ModelOperations& operations);

// The first library among `needs` that `modules` says cannot exist here, or
// kNeedsNothing.
OutsideNeed UnloadableLibrary(unsigned needs, platform::Modules& modules);

// The one line that tells why camera `cameraNumber` (as -CAMn counts) was left
// alone.
std::string UnmetNeedLine(int cameraNumber, int productId, OutsideNeed need);

}  // namespace kv::ctrl
