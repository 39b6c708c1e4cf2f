// Kind-1 cameras: the sequences on the plug-in extension unit. Each
// transfer of another size than 1 is announced with LEN n (property 1) and
// the sequence closes with LEN 1, whatever became of the steps between.
#include <algorithm>

#include "ctrl/xulib/CameraLink.h"
#include "wire/ExtensionUnits.h"

namespace kv::ctrl::xulib {

namespace {

using platform::HResult;
using platform::kE_FAIL;
using platform::kS_OK;

constexpr std::uint16_t kI2cStatusRegister = 5;
constexpr std::uint8_t kI2cNotAcknowledged = 0x10;
constexpr std::uint16_t kPortRegister = 6;
constexpr std::uint8_t kPortBit = 0x04;
constexpr std::uint8_t kEepromSlave = 0xA0;
constexpr std::size_t kMaxWriteBytes = 61;  // 3 header bytes in a 64-byte block

class PluginLink : public CameraLink {
public:
    PluginLink(std::shared_ptr<platform::ExtensionUnit> unit, std::uint32_t deviceNumber)
        : m_unit(std::move(unit)), m_deviceNumber(deviceNumber) {}

    int Kind() const override { return kPluginKind; }
    HResult Select() override { return m_unit->SwitchHandle(m_deviceNumber); }

    HResult RegRead(std::uint16_t address, int length, RegisterValue& value) override {
        if (length < 1 || length > 4) return kE_FAIL;
        value.fill(0);
        return Announced(2, [&] {
            std::uint8_t request[2] = {static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(length)};
            const HResult hr = m_unit->put_Property(wire::kPluginRegRead, 2, request);
            if (platform::Failed(hr)) return hr;
            return m_unit->get_Property(wire::kPluginRegRead, static_cast<std::uint32_t>(length), value.data());
        });
    }

    HResult RegWrite(std::uint16_t address, int length, const RegisterValue& value) override {
        if (length < 1 || length > 4) return kE_FAIL;
        std::vector<std::uint8_t> block{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(length)};
        block.insert(block.end(), value.begin(), value.begin() + length);
        return Put(wire::kPluginRegWrite, block);
    }

    HResult I2cWrite(const I2cTransfer& transfer) override {
        const std::size_t count = transfer.address.size() + transfer.data.size();
        if (count > kMaxWriteBytes) return kE_FAIL;
        // With data, flag 1 tells the unit where the address ends; an
        // address-only write carries the I2C option bit instead.
        const std::uint8_t flag = !transfer.data.empty() ? 1 : static_cast<std::uint8_t>((transfer.flags >> 4) & 1);
        std::vector<std::uint8_t> block{transfer.slave, static_cast<std::uint8_t>(count), flag};
        block.insert(block.end(), transfer.address.begin(), transfer.address.end());
        block.insert(block.end(), transfer.data.begin(), transfer.data.end());
        const HResult hr = Put(wire::kPluginI2cWrite, block);
        return platform::Failed(hr) ? hr : I2cStatus();
    }

    HResult I2cRead(I2cTransfer& transfer) override {
        if (!transfer.address.empty()) {
            const HResult hr = I2cWrite(I2cTransfer{transfer.flags, transfer.slave, transfer.address, {}});
            if (platform::Failed(hr)) return hr;
        }
        const auto count = static_cast<std::uint8_t>(transfer.data.size());
        const HResult hr = Announced(3, [&] {
            std::uint8_t request[3] = {transfer.slave, count, 1};
            const HResult put = m_unit->put_Property(wire::kPluginI2cRead, 3, request);
            if (platform::Failed(put)) return put;
            return m_unit->get_Property(wire::kPluginI2cRead, count, transfer.data.data());
        });
        return platform::Failed(hr) ? hr : I2cStatus();
    }

    HResult Extended(int command, CommandBlock& data, std::uint16_t i2cOption, CommandBlock&) override {
        switch (command) {
        case 3:
            return ExtendedRegWrite(data);
        case 5:
            return ExtendedI2cWrite(data, i2cOption, false);
        case 17:
            return ExtendedKept(data);
        case 19:
            return ExtendedI2cWrite(data, i2cOption, true);
        default:
            return kE_FAIL;
        }
    }

    void Close() override { m_unit->end(); }

private:
    template <class Body>
    HResult Announced(std::uint8_t length, Body body) {
        HResult hr = SetLength(length);
        if (platform::Failed(hr)) return hr;
        hr = body();
        const HResult closed = SetLength(1);
        return platform::Failed(hr) ? hr : closed;
    }

    HResult SetLength(std::uint8_t length) { return m_unit->put_Property(wire::kPluginLength, 1, &length); }

    HResult Put(std::uint32_t property, std::vector<std::uint8_t>& block) {
        const auto size = static_cast<std::uint32_t>(block.size());
        return Announced(static_cast<std::uint8_t>(size),
                         [&] { return m_unit->put_Property(property, size, block.data()); });
    }

    // The unit answers a transfer the device did not acknowledge with
    // success; only bit 4 of register 5 tells.
    HResult I2cStatus() {
        RegisterValue status{};
        const HResult hr = RegRead(kI2cStatusRegister, 1, status);
        if (platform::Failed(hr)) return hr;
        return (status[0] & kI2cNotAcknowledged) != 0 ? kE_FAIL : kS_OK;
    }

    // Command 3: {length, address, value bytes}; the caller's block is
    // cleared afterwards.
    HResult ExtendedRegWrite(CommandBlock& data) {
        const int length = data[0];
        RegisterValue value{};
        if (length >= 1 && length <= 4) std::copy_n(data.begin() + 2, length, value.begin());
        const HResult hr = RegWrite(data[1], length, value);
        data.fill(0);
        return hr;
    }

    // Commands 5 and 19: {slave, address count, address bytes, data count,
    // data bytes}; register 6 bit 2 selects the port first (clear for the
    // EEPROM slave 0xA0).
    HResult ExtendedI2cWrite(const CommandBlock& data, std::uint16_t i2cOption, bool asBlock) {
        const std::size_t addressCount = data[1];
        if (2 + addressCount >= data.size()) return kE_FAIL;
        const std::size_t dataCount = data[2 + addressCount];
        const std::size_t dataStart = 3 + addressCount;
        if (dataStart + dataCount > data.size()) return kE_FAIL;
        I2cTransfer transfer;
        transfer.slave = data[0];
        transfer.address.assign(data.begin() + 2, data.begin() + 2 + static_cast<std::ptrdiff_t>(addressCount));
        transfer.data.assign(data.begin() + static_cast<std::ptrdiff_t>(dataStart),
                             data.begin() + static_cast<std::ptrdiff_t>(dataStart + dataCount));
        transfer.flags = (addressCount > 0 ? kI2cHasAddress : 0) | (transfer.slave == kEepromSlave ? 0 : i2cOption);
        HResult hr = SelectPortFor(transfer.slave);
        if (platform::Failed(hr)) return hr;
        if (!asBlock) return I2cWrite(transfer);
        CommandBlock block{};
        block[0] = transfer.slave;
        block[1] = static_cast<std::uint8_t>(addressCount + dataCount);
        block[2] = 1;
        std::copy(transfer.address.begin(), transfer.address.end(), block.begin() + 3);
        std::copy(transfer.data.begin(), transfer.data.end(),
                  block.begin() + 3 + static_cast<std::ptrdiff_t>(addressCount));
        hr = m_unit->put_Property(wire::kPluginI2cWriteBlock, static_cast<std::uint32_t>(block.size()), block.data());
        return platform::Failed(hr) ? hr : I2cStatus();
    }

    // Command 17: {first count, its bytes, second count, its bytes}, taken
    // from the block after its first byte, as the I2C commands lay them out.
    HResult ExtendedKept(const CommandBlock& data) {
        const std::size_t first = data[1];
        if (2 + first >= data.size()) return kE_FAIL;
        const std::size_t second = data[2 + first];
        const std::size_t length = 2 + first + second;
        if (1 + length > data.size()) return kE_FAIL;
        CommandBlock block{};
        std::copy_n(data.begin() + 1, length, block.begin());
        return m_unit->put_Property(wire::kPluginKept, static_cast<std::uint32_t>(block.size()), block.data());
    }

    HResult SelectPortFor(std::uint8_t slave) {
        RegisterValue port{};
        HResult hr = RegRead(kPortRegister, 1, port);
        if (platform::Failed(hr)) return hr;
        port[0] = slave == kEepromSlave ? static_cast<std::uint8_t>(port[0] & ~kPortBit)
                                        : static_cast<std::uint8_t>(port[0] | kPortBit);
        return RegWrite(kPortRegister, 1, port);
    }

    std::shared_ptr<platform::ExtensionUnit> m_unit;
    std::uint32_t m_deviceNumber;
};

}  // namespace

std::shared_ptr<CameraLink> MakePluginLink(std::shared_ptr<platform::ExtensionUnit> unit, std::uint32_t deviceNumber) {
    return std::make_shared<PluginLink>(std::move(unit), deviceNumber);
}

}  // namespace kv::ctrl::xulib
