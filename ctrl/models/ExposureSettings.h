// The exposure settings file: "saveexposure" keeps a camera's auto-exposure
// target registers in Setting.ini beside the program, "loadexposure" puts
// them back.
#pragma once

#include <string>

#include "ctrl/models/ModelContext.h"

namespace kv::ctrl {

class CDxWnd;

// Setting.ini in the program's own folder, whatever the program file is
// called.
std::string ExposureSettingsPath(platform::Ports& ports);

void SaveExposureSettings(ModelContext& context, int dev, CDxWnd& camera, int productId);
void LoadExposureSettings(ModelContext& context, int dev, CDxWnd& camera, int productId);

}  // namespace kv::ctrl
