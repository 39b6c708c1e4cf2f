// The exposure settings file's rows: for each sensor family, the section of
// Setting.ini, the product ids, the keys with the registers behind them, how
// those registers are reached, and the pauses a load makes.
#pragma once

#include <span>

#include "ctrl/models/ProductTable.h"

namespace kv::ctrl {

// How a family's auto-exposure registers are reached.
enum class ExposurePath {
    DirectUsb78,    // U / UR: direct USB requests to I2C device 0x78
    XuLib78,        // W78 / R78: the register library, I2C device 0x78
    Smi,            // SMIUtility's sensor calls by vendor and product id
    Sensor21Byte,   // the camera's bridge I2C engine, device 0x21, 8-bit registers
    XuLib48,        // W48 / R48: the register library, I2C device 0x48
    Sensor5DPage2,  // the bridge I2C engine, device 0x5D, 16-bit registers of page 2
};

struct ExposureKey {
    const char* name;  // as written in the file, case included
    int reg;
};

// Milliseconds a load waits: after selecting the register page, before each
// register write, between two writes, after the last one.
struct LoadPauses {
    unsigned afterPageSelect = 0;
    unsigned beforeEach = 0;
    unsigned between = 0;
    unsigned afterLast = 0;
};

struct ExposureRow {
    const char* section;
    std::span<const ProductRange> products;
    std::span<const ExposureKey> keys;  // in the order they are read, written and loaded
    ExposurePath path;
    const char* valueFormat;  // printf format of a saved value
    LoadPauses pauses;
};

// The row of a product id; null for the products the file does not serve.
const ExposureRow* FindExposureRow(int productId);

}  // namespace kv::ctrl
