// The register library's public face: plain functions on the one library of
// the process. The program binds it to its ports once at start-up; until
// then every operation fails and xulib_Open finds nothing.
#pragma once

#include <cstdint>

#include "platform/Ports.h"

namespace kv::ctrl {

void xulib_BindPorts(platform::Ports& ports);

int xulib_Open();
void xulib_Close();
platform::HResult xulib_RegRead(int device, int address, int length, std::int32_t* value);
platform::HResult xulib_RegWrite(int device, int address, int length, const std::int32_t* value);
void xulib_SelectI2cPort(int device, int port, int option);
platform::HResult xulib_I2cRead(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                                std::uint8_t* data);
platform::HResult xulib_I2cWrite(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                                 const std::uint8_t* data);
platform::HResult xulib_AveoExWrite(int device, int command, std::uint8_t* data);

// Before the process ends: lets an operation that outlived its wait finish
// its transfer (at most as long as a worker may wait for the library's
// mutex), so that no camera is left in the middle of a request sequence.
void xulib_FinishLateWorkers();

}  // namespace kv::ctrl
