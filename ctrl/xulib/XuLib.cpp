// The process's register library behind the plain functions.
#include "ctrl/xulib/XuLib.h"

#include <memory>

#include "ctrl/xulib/Worker.h"
#include "ctrl/xulib/XuLibrary.h"

namespace kv::ctrl {

namespace {

// Lives for the whole process and is never destroyed: the ports it works on
// may be gone by the time static objects are, and process exit reclaims
// everything it holds.
std::unique_ptr<xulib::XuLibrary>& ProcessLibrary() {
    static auto* library = new std::unique_ptr<xulib::XuLibrary>();
    return *library;
}

template <class Call>
platform::HResult OnLibrary(Call call) {
    auto& library = ProcessLibrary();
    return library ? call(*library) : platform::kE_FAIL;
}

}  // namespace

void xulib_BindPorts(platform::Ports& ports) { ProcessLibrary() = std::make_unique<xulib::XuLibrary>(ports); }

int xulib_Open() { return ProcessLibrary() ? ProcessLibrary()->Open() : 0; }

void xulib_Close() {
    if (ProcessLibrary()) ProcessLibrary()->Close();
}

platform::HResult xulib_RegRead(int device, int address, int length, std::int32_t* value) {
    return OnLibrary([&](xulib::XuLibrary& l) { return l.RegRead(device, address, length, value); });
}

platform::HResult xulib_RegWrite(int device, int address, int length, const std::int32_t* value) {
    return OnLibrary([&](xulib::XuLibrary& l) { return l.RegWrite(device, address, length, value); });
}

void xulib_SelectI2cPort(int device, int port, int option) {
    if (ProcessLibrary()) ProcessLibrary()->SelectI2cPort(device, port, option);
}

platform::HResult xulib_I2cRead(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                                std::uint8_t* data) {
    return OnLibrary([&](xulib::XuLibrary& l) { return l.I2cRead(device, slave, addressCount, addressBytes, dataCount, data); });
}

platform::HResult xulib_I2cWrite(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                                 const std::uint8_t* data) {
    return OnLibrary([&](xulib::XuLibrary& l) { return l.I2cWrite(device, slave, addressCount, addressBytes, dataCount, data); });
}

platform::HResult xulib_AveoExWrite(int device, int command, std::uint8_t* data) {
    return OnLibrary([&](xulib::XuLibrary& l) { return l.AveoExWrite(device, command, data); });
}

void xulib_FinishLateWorkers() { xulib::WaitForLateWorkers(std::chrono::milliseconds(xulib::kMutexWaitMs)); }

}  // namespace kv::ctrl
