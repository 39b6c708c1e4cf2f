// The per-model routines' entry points. The model tables that fill them in
// are not built yet; until then every routine leaves the camera as it is.
#include "ctrl/models/ModelRoutines.h"

namespace kv::ctrl {

void TurnLed1OnByModel(int, CDxWnd&) {}
void TurnLed2OnByModel(int, CDxWnd&) {}
void TurnLedOffByModel(int, CDxWnd&) {}
void SetAntiFlickerByModel(int, CDxWnd&, int) {}
void SetFlcSwitch(int, int, int) {}
void SetFlcLevel(int, int, int) {}
void InitByModel(int, int) {}
void SetAutoExposureByModel(int, int, CDxWnd&, int) {}
void SetExposureValueByModel(int, int, CDxWnd&, int) {}
void SaveExposureSettings(int, CDxWnd&, int) {}
void LoadExposureSettings(int, CDxWnd&, int) {}
void OpenDirectUsbDevice() {}

}  // namespace kv::ctrl
