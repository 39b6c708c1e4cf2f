// CameraOps that records each operation as a line of text and answers reads
// from a table (unset registers read as 0, a failed bridge read as set).
#pragma once

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ctrl/models/CameraOps.h"

namespace kv::test {

class RecordingOps : public ctrl::CameraOps {
public:
    std::vector<std::string> calls;
    std::map<std::string, int> reads;  // "R78 3503" -> value
    std::set<int> failingBridgeReads;
    bool flcWriteResult = true;
    bool i2cWriteResult = true;
    int extendedResult = 0;

    int R78(int reg) override { return Read("R78 " + Hex(reg)); }
    void W78(int reg, int value) override { Add("W78 " + Hex(reg) + " " + Hex(value)); }
    int R48(int reg) override { return Read("R48 " + Hex(reg)); }
    void W48(int reg, int value) override { Add("W48 " + Hex(reg) + " " + Hex(value)); }
    int UR(int reg) override { return Read("UR " + Hex(reg)); }
    void U(int reg, int value) override { Add("U " + Hex(reg) + " " + Hex(value)); }
    int SR(int slave, int reg, int width) override {
        return Read("SR " + Hex(slave) + " " + Hex(reg) + " " + std::to_string(width));
    }
    void S(int slave, int reg, unsigned value, int width) override {
        Add("S " + Hex(slave) + " " + Hex(reg) + " " + Hex(static_cast<int>(value)) + " " + std::to_string(width));
    }
    bool BridgeRead(int reg, int& value) override {
        Add("B? " + Hex(reg));
        if (failingBridgeReads.count(reg)) return false;
        value = Lookup("B " + Hex(reg));
        return true;
    }
    void BridgeWrite(int reg, int value) override { Add("B " + Hex(reg) + " " + Hex(value)); }
    void SMI(int reg, int value) override { Add("SMI " + Hex(reg) + " " + std::to_string(value)); }
    void SMIX(int reg, int value) override { Add("SMIX " + Hex(reg) + " " + std::to_string(value)); }
    void P(int id, int value) override { Add("P " + std::to_string(id) + " " + std::to_string(value)); }
    void Pause(unsigned milliseconds) override { Add("pause " + std::to_string(milliseconds)); }

    void LedGpio(ctrl::GpioLed pattern, int mode) override {
        Add(std::string("Gpio") + "ABCDE"[static_cast<int>(pattern)] + " " + std::to_string(mode));
    }
    void LedLibrary(ctrl::LibraryLed library, int mode) override {
        static const char* const kNames[] = {"Smi810", "Smi812", "AsicLib"};
        Add(std::string(kNames[static_cast<int>(library)]) + " " + std::to_string(mode));
    }
    void LedKsProp(int mode, int level) override {
        Add("KsProp " + std::to_string(mode) + " " + std::to_string(level));
    }
    void LedBridge(ctrl::BridgeLed helper, int mode) override {
        static const char* const kNames[] = {"XuBit0", "XuBits02", "XuBit2", "XuF2F3"};
        Add(std::string(kNames[static_cast<int>(helper)]) + " " + std::to_string(mode));
    }

    bool WriteFlcRegister(int reg, int value) override {
        Add("FLC " + std::to_string(reg) + " " + std::to_string(value));
        return flcWriteResult;
    }
    int ExtendedWrite(const std::array<std::uint8_t, 32>& block) override {
        bool restZero = true;
        for (std::size_t i = 2; i < block.size(); ++i) restZero = restZero && block[i] == 0;
        Add("Ex " + Hex(block[0]) + " " + Hex(block[1]) + (restZero ? "" : " +junk"));
        return extendedResult;
    }
    void SelectI2cPort() override { Add("port 2"); }
    int I2cReadByte(int slave, std::uint8_t high, std::uint8_t low) override {
        return Read("I2cRead " + Hex(slave) + " " + Hex(high) + " " + Hex(low));
    }
    bool I2cWriteByte(int slave, std::uint8_t value) override {
        Add("I2cWrite " + Hex(slave) + " " + Hex(value));
        return i2cWriteResult;
    }

    static std::string Hex(int value) {
        char text[16];
        std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
        return text;
    }

private:
    void Add(const std::string& call) { calls.push_back(call); }
    int Lookup(const std::string& key) const {
        const auto found = reads.find(key);
        return found == reads.end() ? 0 : found->second;
    }
    int Read(const std::string& key) {
        Add(key);
        return Lookup(key);
    }
};

}  // namespace kv::test
