// The exposure settings file: "saveexposure" keeps a camera's auto-exposure
// target registers in Setting.ini beside the program, "loadexposure" puts
// them back.
#pragma once

#include "ctrl/models/ModelContext.h"

namespace kv::ctrl {

class CDxWnd;

void SaveExposureSettings(ModelContext& context, int dev, CDxWnd& camera, int productId);
void LoadExposureSettings(ModelContext& context, int dev, CDxWnd& camera, int productId);

}  // namespace kv::ctrl
