// The FLC LED controller (I2C device 0x62) and INIT.
#include "ctrl/models/ModelRoutines.h"

namespace kv::ctrl {

namespace {

constexpr int kSwitchRegister = 4;
constexpr int kLevelRegister = 3;
constexpr int kUseCountWrap = 10000;

int WriteCounted(CameraOps& ops, int* flcUseCount, int reg, int value) {
    // Without a counter to consult, enable every time: enabling twice is
    // harmless, a controller left disabled ignores the write.
    if (!flcUseCount || *flcUseCount == 0) EnableFlcController(ops);
    ops.WriteFlcRegister(reg, value);
    if (flcUseCount && ++*flcUseCount == kUseCountWrap) *flcUseCount = 1;
    return 1;
}

}  // namespace

int SetFlcSwitch(CameraOps& ops, int* flcUseCount, int value) {
    return WriteCounted(ops, flcUseCount, kSwitchRegister, value);
}

int SetFlcLevel(CameraOps& ops, int* flcUseCount, int value) {
    return WriteCounted(ops, flcUseCount, kLevelRegister, value);
}

int EnableFlcController(CameraOps& ops) {
    std::array<std::uint8_t, 32> block{};
    block[0] = 0xF2;
    block[1] = 0x01;
    ops.ExtendedWrite(block);
    block[0] = 0xF3;
    return ops.ExtendedWrite(block);
}

bool InitByModel(int productId, CameraOps& ops) {
    constexpr int kFlcController = 0x62;
    constexpr int kInitTarget = 0x46;
    std::uint8_t page = 0x00;
    if ((productId >= 0x910 && productId <= 0x919) || (productId >= 0x980 && productId <= 0x989)) page = 0x40;
    if (productId >= 0x990 && productId <= 0x999) page = 0x50;
    ops.SelectI2cPort();
    const int value = ops.I2cReadByte(kFlcController, page, 0x00);
    return ops.I2cWriteByte(kInitTarget, static_cast<std::uint8_t>(value));
}

}  // namespace kv::ctrl
