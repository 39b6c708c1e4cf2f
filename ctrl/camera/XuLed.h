// LED sets switched through the vendor register library: bits 0 and 2 of
// the bridge's LED register (read at 0x84, written at 0x80), or the extended
// command 0xF0 (device = the library's camera index). Each returns the result
// of its last library call (0 = success).
#pragma once

namespace kv::ctrl {

int XuLed_SetBit0(int mode, int device);
int XuLed_SetBits02(int mode, int device);
int XuLed_SetBit2(int mode, int device);
int XuLed_F2F3(int mode, int device);

}  // namespace kv::ctrl
