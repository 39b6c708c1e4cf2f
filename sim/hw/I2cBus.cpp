// Routing of I2C transactions to the devices of a camera's bus, with the
// record of what each device saw.
#include "sim/hw/I2cBus.h"

#include <algorithm>

#include "sim/hw/I2cDevice.h"

namespace kv::sim {

I2cBus::I2cBus(const std::map<std::uint8_t, I2cDeviceSettings>& settings,
               std::map<std::uint8_t, I2cDeviceState>& states, std::vector<I2cEvent>* log)
    : settings_(settings), states_(states), log_(log) {}

const I2cDeviceSettings* I2cBus::Find(std::uint8_t slave) const {
    const auto it = settings_.find(slave);
    return it == settings_.end() ? nullptr : &it->second;
}

bool I2cBus::Acknowledges(std::uint8_t slave, int port) const {
    const I2cDeviceSettings* settings = Find(slave);
    return settings != nullptr && settings->acknowledges &&
           (port == 0 || settings->port == 0 || settings->port == port);
}

void I2cBus::Log(I2cEvent event) {
    if (log_ != nullptr) log_->push_back(std::move(event));
}

bool I2cBus::Write(std::uint8_t slave, std::span<const std::uint8_t> address, std::span<const std::uint8_t> data,
                   int port) {
    const bool ack = Acknowledges(slave, port);
    if (ack) I2cDeviceWrite(*Find(slave), states_[slave], address, data);
    Log({slave, false, {address.begin(), address.end()}, {data.begin(), data.end()}, ack});
    return ack;
}

bool I2cBus::Read(std::uint8_t slave, std::span<std::uint8_t> out, int port) {
    const bool ack = Acknowledges(slave, port);
    if (ack) I2cDeviceRead(*Find(slave), states_[slave], out);
    else std::fill(out.begin(), out.end(), std::uint8_t{0xFF});
    Log({slave, true, {}, {out.begin(), out.end()}, ack});
    return ack;
}

bool I2cBus::ReadAt(std::uint8_t slave, std::span<const std::uint8_t> address, std::span<std::uint8_t> out, int port) {
    if (!address.empty() && !Write(slave, address, {}, port)) {
        std::fill(out.begin(), out.end(), std::uint8_t{0xFF});
        return false;
    }
    return Read(slave, out, port);
}

}  // namespace kv::sim
