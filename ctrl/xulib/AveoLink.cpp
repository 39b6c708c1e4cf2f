// Kind-2 cameras: 32-byte command blocks on the Aveo extension unit (id 2),
// sent straight through the capture filter's IKsControl to the node.
#include "ctrl/xulib/CameraLink.h"
#include "wire/ExtensionUnits.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::ctrl::xulib {

namespace {

using platform::HResult;

constexpr int kRawCommand = 0xF0;

class AveoLink : public CameraLink {
public:
    AveoLink(std::shared_ptr<platform::KsControl> control, std::shared_ptr<const std::atomic<std::uint32_t>> nodeId)
        : m_control(std::move(control)), m_nodeId(std::move(nodeId)) {}

    int Kind() const override { return kAveoKind; }
    HResult Select() override { return platform::kS_OK; }

    // The unit answers 16 bits whatever the length asked.
    HResult RegRead(std::uint16_t address, int, RegisterValue& value) override {
        CommandBlock block = Block({wire::kAveoSelectRegister, Low(address), High(address)});
        HResult hr = Set(block);
        if (platform::Failed(hr)) return hr;
        hr = Get(block);
        if (platform::Failed(hr)) return hr;
        value = {block[1], block[2], 0, 0};
        return hr;
    }

    HResult RegWrite(std::uint16_t address, int, const RegisterValue& value) override {
        CommandBlock select = Block({wire::kAveoSelectRegister, Low(address), High(address)});
        const HResult hr = Set(select);
        if (platform::Failed(hr)) return hr;
        CommandBlock write = Block({wire::kAveoWriteRegister, value[0], value[1]});
        return Set(write);
    }

    // One data byte; the address and the sizes are coded into A3, A4 and F.
    HResult I2cWrite(const I2cTransfer& transfer) override {
        const std::uint8_t first = transfer.data.empty() ? 0 : transfer.data[0];
        CommandBlock block = TransferBlock(wire::kAveoI2cWrite, first, transfer);
        return Set(block);
    }

    HResult I2cRead(I2cTransfer& transfer) override {
        CommandBlock block = TransferBlock(wire::kAveoI2cRead, 0, transfer);
        HResult hr = Set(block);
        if (platform::Failed(hr)) return hr;
        hr = Get(block);
        if (platform::Succeeded(hr) && !transfer.data.empty()) transfer.data[0] = block[1];
        return hr;
    }

    HResult Extended(int command, CommandBlock& data, std::uint16_t, CommandBlock& sent) override {
        switch (command) {
        case 0:
            return Pair({0, data[2], data[1]}, {2, data[4], data[3]}, sent);
        case 1:
            return Pair({1, data[2], data[1]}, {3, data[4], data[3]}, sent);
        case kRawCommand:
            sent = Block({data[0], data[1]});
            return Set(sent);
        default:
            return Pair({}, {0, data[4], data[3]}, sent);
        }
    }

    void Close() override {}

private:
    static std::uint8_t Low(std::uint16_t value) { return static_cast<std::uint8_t>(value); }
    static std::uint8_t High(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }

    static CommandBlock Block(std::initializer_list<std::uint8_t> head) {
        CommandBlock block{};
        std::copy(head.begin(), head.end(), block.begin());
        return block;
    }

    // {command, d0, 0, A3, A4, slave, F}: with two or more address bytes A3
    // is the second and A4 the first; F bit 0 says two data bytes, bit 4
    // two address bytes.
    static CommandBlock TransferBlock(std::uint8_t command, std::uint8_t first, const I2cTransfer& transfer) {
        const std::size_t a = transfer.address.size();
        const std::size_t d = transfer.data.size();
        auto addressByte = [&](std::size_t i) { return i < a ? transfer.address[i] : std::uint8_t{0}; };
        const std::uint8_t a3 = a >= 2 ? addressByte(1) : addressByte(0);
        const std::uint8_t a4 = a >= 2 ? addressByte(0) : addressByte(1);
        const auto f = static_cast<std::uint8_t>(((d >> 1) & 1) | ((a & 2) << 3));
        return Block({command, first, 0, a3, a4, transfer.slave, f});
    }

    HResult Pair(std::initializer_list<std::uint8_t> first, std::initializer_list<std::uint8_t> second,
                 CommandBlock& sent) {
        CommandBlock block = Block(first);
        const HResult hr = Set(block);
        if (platform::Failed(hr)) return hr;
        sent = Block(second);
        return Set(sent);
    }

    HResult Set(CommandBlock& block) { return Transfer(wire::kNodeSet, block); }
    HResult Get(CommandBlock& block) { return Transfer(wire::kNodeGet, block); }

    HResult Transfer(std::uint32_t flags, CommandBlock& block) {
        const auto property = wire::NodeProperty(wire::kAveoXuSet, wire::kAveoControl, flags, m_nodeId->load());
        std::uint32_t returned = 0;
        return m_control->KsProperty(property.data(), wire::kKsNodePropertySize, block.data(),
                                     static_cast<std::uint32_t>(block.size()), &returned);
    }

    std::shared_ptr<platform::KsControl> m_control;
    std::shared_ptr<const std::atomic<std::uint32_t>> m_nodeId;
};

}  // namespace

std::shared_ptr<CameraLink> MakeAveoLink(std::shared_ptr<platform::KsControl> control,
                                         std::shared_ptr<const std::atomic<std::uint32_t>> nodeId) {
    return std::make_shared<AveoLink>(std::move(control), std::move(nodeId));
}

}  // namespace kv::ctrl::xulib
