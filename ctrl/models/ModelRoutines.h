// The per-model routines the dispatcher calls for each command: by product
// id they pick the back-end and the register values that carry the command
// out on the camera (through `ops`, bound to that camera and its register
// library index). `flcUseCount` is the camera's FLC use counter for this
// run, null when its index lies outside the counter table.
#pragma once

#include "ctrl/models/CameraOps.h"

namespace kv::ctrl {

void TurnLed1OnByModel(int productId, CameraOps& ops, int* flcUseCount);
void TurnLed2OnByModel(int productId, CameraOps& ops, int* flcUseCount);
void TurnLedOffByModel(int productId, CameraOps& ops, int* flcUseCount);
// on: 1 on, 0 off.
void SetAutoExposureByModel(int on, int productId, CameraOps& ops);
void SetExposureValueByModel(int ev, int productId, CameraOps& ops);
// mode 1: 60 Hz, 2: 50 Hz, 0: off.
void SetAntiFlickerByModel(int productId, CameraOps& ops, int mode);

// The FLC LED controller: register 4 takes the segment pattern, register 3
// the brightness level. The first write of a run on a camera enables the
// controller. Always 1.
int SetFlcSwitch(CameraOps& ops, int* flcUseCount, int value);
int SetFlcLevel(CameraOps& ops, int* flcUseCount, int value);
int EnableFlcController(CameraOps& ops);

// Copies a byte of the FLC controller to I2C device 0x46; true when the
// write succeeded.
bool InitByModel(int productId, CameraOps& ops);

}  // namespace kv::ctrl
