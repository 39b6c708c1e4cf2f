// The per-model routines the dispatcher calls for each command: by product
// id they pick the back-end and the register values that carry the command
// out on the camera. Their model tables are not built yet: until they are,
// each routine leaves the camera as it is.
#pragma once

namespace kv::ctrl {

class CDxWnd;

void TurnLed1OnByModel(int productId, CDxWnd& camera);
void TurnLed2OnByModel(int productId, CDxWnd& camera);
void TurnLedOffByModel(int productId, CDxWnd& camera);
// mode 1: 60 Hz, 2: 50 Hz, 0: off.
void SetAntiFlickerByModel(int productId, CDxWnd& camera, int mode);
void SetFlcSwitch(int dev, int productId, int value);
void SetFlcLevel(int dev, int productId, int value);
void InitByModel(int productId, int dev);
void SetAutoExposureByModel(int on, int productId, CDxWnd& camera, int dev);
void SetExposureValueByModel(int value, int dev, CDxWnd& camera, int productId);
void SaveExposureSettings(int dev, CDxWnd& camera, int productId);
void LoadExposureSettings(int dev, CDxWnd& camera, int productId);
void OpenDirectUsbDevice();

}  // namespace kv::ctrl
