// The register library's public face: plain functions on one library. The
// face owns nothing: the program's run context owns the library and attaches
// it at start-up (a test attaches one of its own); until a library is
// attached every operation fails and xulib_Open finds nothing.
#pragma once

#include <cstdint>

#include "platform/Ports.h"

namespace kv::ctrl {

namespace xulib {
class XuLibrary;
}

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

// Puts `library` behind the face for as long as the attachment lives; the
// one attached before comes back after it. The owner of the library keeps
// the attachment beside it, so the face never points at a library that is
// gone.
class XuLibAttachment {
public:
    explicit XuLibAttachment(xulib::XuLibrary& library);
    ~XuLibAttachment();
    XuLibAttachment(const XuLibAttachment&) = delete;
    XuLibAttachment& operator=(const XuLibAttachment&) = delete;

private:
    xulib::XuLibrary* m_previous;
};

}  // namespace kv::ctrl
