// Test helper process: read-modify-write register updates on a rig, so that
// several of these at once show whether the rig loses or mixes updates.
//
//   sim_rmw_helper RIG WORKER COUNT
//
// Each round increments the worker's own bridge register 0x3000+WORKER with
// two separate requests (a ClientPropertyPageLIB read, then a write), then
// increments the shared 16-bit counter at 0x3100/0x3101 with six
// bridge-register extension-unit requests in one transaction. (The unit's
// two-step read latches the address in the device, so across processes it is
// only safe inside one transaction, as on a real bridge.)
// Exit status 0 when every request succeeded.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/rig/Session.h"
#include "wire/BridgeRegister.h"

namespace {

using kv::sim::Answer;
using kv::sim::Camera;
using Bytes = std::vector<std::uint8_t>;

Bytes Property(std::uint32_t flags) {
    const auto block = kv::wire::BridgeRequest(flags);
    return Bytes(block.begin(), block.end());
}

bool Read(const std::function<Answer(const Bytes&, Bytes&)>& ks, std::uint16_t address, std::uint8_t& value) {
    Bytes latch{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), 0, 0xFF};
    Bytes reply(4, 0);
    if (ks(Property(0x10000002), latch).hr != 0 || ks(Property(0x10000001), reply).hr != 0) return false;
    value = reply[2];
    return true;
}

bool Write(const std::function<Answer(const Bytes&, Bytes&)>& ks, std::uint16_t address, std::uint8_t value) {
    Bytes block{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), value, 0};
    return ks(Property(0x10000002), block).hr == 0;
}

bool OwnRegister(kv::sim::Session& session, std::uint16_t address) {
    std::int32_t value = 0;
    return session.AsicRead(0, address, value).hr == 0 && session.AsicWrite(0, address, value + 1).hr == 0;
}

bool SharedCounter(kv::sim::Session& session) {
    const Answer answer = session.Request(0, [](Camera& camera) {
        auto ks = [&](const Bytes& property, Bytes& data) { return camera.KsProperty(property, data); };
        std::uint8_t lo = 0;
        std::uint8_t hi = 0;
        if (!Read(ks, 0x3100, lo) || !Read(ks, 0x3101, hi)) return Answer{kv::platform::kE_FAIL, 0, 0};
        const auto counter = static_cast<std::uint16_t>(((hi << 8) | lo) + 1);
        const bool ok = Write(ks, 0x3100, static_cast<std::uint8_t>(counter)) &&
                        Write(ks, 0x3101, static_cast<std::uint8_t>(counter >> 8));
        return Answer{ok ? kv::platform::kS_OK : kv::platform::kE_FAIL, 0, 0};
    });
    return answer.hr == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: sim_rmw_helper RIG WORKER COUNT\n");
        return 2;
    }
    std::string error;
    const auto rig = kv::sim::Rig::Load(argv[1], error);
    if (!rig) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto own = static_cast<std::uint16_t>(0x3000 + std::atoi(argv[2]));
    const int count = std::atoi(argv[3]);
    kv::sim::Session session(*rig);
    for (int i = 0; i < count; ++i) {
        if (!OwnRegister(session, own) || !SharedCounter(session)) {
            std::fprintf(stderr, "worker %s: request %d failed: %s\n", argv[2], i, session.lastError().c_str());
            return 1;
        }
    }
    return 0;
}
