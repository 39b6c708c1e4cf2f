// The attached register library behind the plain functions.
#include "ctrl/xulib/XuLib.h"

#include "ctrl/xulib/XuLibrary.h"

namespace kv::ctrl {

namespace {

// Only a pointer: the face is the plain-function form the camera code and
// the outside world call, and the library belongs to whoever attached it
// (the program's run context). Set and read on the program's main thread.
xulib::XuLibrary* attached = nullptr;

template <class Call>
platform::HResult OnLibrary(Call call) {
    return attached ? call(*attached) : platform::kE_FAIL;
}

}  // namespace

XuLibAttachment::XuLibAttachment(xulib::XuLibrary& library) : m_previous(attached) { attached = &library; }

XuLibAttachment::~XuLibAttachment() { attached = m_previous; }

int xulib_Open() { return attached ? attached->Open() : 0; }

void xulib_Close() {
    if (attached) attached->Close();
}

platform::HResult xulib_RegRead(int device, int address, int length, std::int32_t* value) {
    return OnLibrary([&](xulib::XuLibrary& l) { return l.RegRead(device, address, length, value); });
}

platform::HResult xulib_RegWrite(int device, int address, int length, const std::int32_t* value) {
    return OnLibrary([&](xulib::XuLibrary& l) { return l.RegWrite(device, address, length, value); });
}

void xulib_SelectI2cPort(int device, int port, int option) {
    if (attached) attached->SelectI2cPort(device, port, option);
}

platform::HResult xulib_I2cRead(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                                std::uint8_t* data) {
    return OnLibrary(
        [&](xulib::XuLibrary& l) { return l.I2cRead(device, slave, addressCount, addressBytes, dataCount, data); });
}

platform::HResult xulib_I2cWrite(int device, int slave, int addressCount, std::uint8_t* addressBytes, int dataCount,
                                 const std::uint8_t* data) {
    return OnLibrary(
        [&](xulib::XuLibrary& l) { return l.I2cWrite(device, slave, addressCount, addressBytes, dataCount, data); });
}

platform::HResult xulib_AveoExWrite(int device, int command, std::uint8_t* data) {
    return OnLibrary([&](xulib::XuLibrary& l) { return l.AveoExWrite(device, command, data); });
}

}  // namespace kv::ctrl
