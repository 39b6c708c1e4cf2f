// Saving and loading a camera's auto-exposure registers in Setting.ini beside
// the program: the rows of ExposureSettingsTable applied through the register path
// each family is reached by.
#include "ctrl/models/ExposureSettings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "ctrl/camera/DxWnd.h"
#include "ctrl/camera/XuI2c.h"
#include "ctrl/models/DirectUsbPath.h"
#include "ctrl/models/ExposureSettingsTable.h"
#include "platform/ProgramFolder.h"
#include "platform/TextBasics.h"

namespace kv::ctrl {

namespace {

constexpr int kSensor21 = 0x21;
constexpr int kSensor5D = 0x5D;
constexpr int kPageRegister = 0xF0;
// Five characters of buffer, as the file has always been read with: at most
// four of a value count.
constexpr std::size_t kValueBuffer = 5;

// One camera's registers, reached the way its row says.
class Registers {
public:
    Registers(ModelContext& context, int dev, CDxWnd& camera, int productId, ExposurePath path)
        : m_context(context), m_dev(dev), m_camera(camera), m_productId(productId), m_path(path) {}

    // The paged sensor answers for page 2 only after the page is selected.
    bool NeedsPageSelect() const { return m_path == ExposurePath::Sensor5DPage2; }
    void SelectPage2() { m_camera.Sensor_Write(kSensor5D, kPageRegister, 2, 2); }

    // What the read routine gave: a failed read leaves 0 (or, on direct USB,
    // the 0xFF of a read that delivered nothing).
    unsigned Read(int reg) {
        switch (m_path) {
        case ExposurePath::DirectUsb78:
            return m_context.directUsb.UsbKReadSensorRegister(static_cast<std::uint16_t>(reg));
        case ExposurePath::XuLib78:
            return static_cast<unsigned>(XuI2c_Read120(reg, m_dev));
        case ExposurePath::Smi: {
            int value = 0;
            m_camera.smiUtility().GetSensorRegisterByVidPid(reg, &value, m_productId);
            return static_cast<unsigned>(value);
        }
        case ExposurePath::Sensor21Byte:
            return SensorRead(kSensor21, reg, 1);
        case ExposurePath::XuLib48:
            return static_cast<unsigned>(XuI2c_Read72(reg, m_dev));
        case ExposurePath::Sensor5DPage2:
            return SensorRead(kSensor5D, reg, 2);
        }
        return 0;
    }

    // The 8-bit paths send the low byte of a wider value.
    void Write(int reg, unsigned value) {
        switch (m_path) {
        case ExposurePath::DirectUsb78:
            m_context.directUsb.UsbKWriteSensorRegister(static_cast<std::uint8_t>(value),
                                                        static_cast<std::uint16_t>(reg));
            return;
        case ExposurePath::XuLib78:
            XuI2c_Write120(reg, static_cast<int>(value), m_dev);
            return;
        case ExposurePath::Smi:
            m_camera.smiUtility().SetSensorRegisterByVidPid(reg, static_cast<int>(value), m_productId);
            return;
        case ExposurePath::Sensor21Byte:
            m_camera.Sensor_Write(kSensor21, reg, value, 1);
            return;
        case ExposurePath::XuLib48:
            XuI2c_Write72(reg, static_cast<int>(value), m_dev);
            return;
        case ExposurePath::Sensor5DPage2:
            m_camera.Sensor_Write(kSensor5D, reg, value, 2);
            return;
        }
    }

private:
    unsigned SensorRead(int slave, int reg, int width) {
        std::uint16_t value = 0;
        m_camera.Sensor_Read(slave, reg, &value, width);
        return value;
    }

    ModelContext& m_context;
    int m_dev;
    CDxWnd& m_camera;
    int m_productId;
    ExposurePath m_path;
};

void Pause(ModelContext& context, unsigned milliseconds) {
    if (milliseconds) context.ports.clock.Sleep(milliseconds);
}

// Unsigned base 16 as the C library converts it: leading blanks, a sign and
// "0x" are taken, the digits up to the first other character count, and text
// without digits gives 0. A negative value wraps; the register writes keep
// its low bits.
unsigned ParseValue(const std::string& text) {
    return static_cast<unsigned>(static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 16)));
}

// The value of each key of the row, or nothing for a key the file does not
// hold (no file, no section, no such key): its register is then left as it
// is rather than set to 0, which would blind the exposure control.
std::vector<std::optional<unsigned>> ReadSavedValues(ModelContext& context, CDxWnd& camera, const ExposureRow& row) {
    const std::string path = ExposureSettingsPath(context.ports);
    platform::ProfileFiles& profiles = context.ports.profileFiles;
    std::vector<std::optional<unsigned>> values;
    for (const ExposureKey& key : row.keys) {
        if (!profiles.HasKey(path, row.section, key.name)) {
            camera.Log(std::string("loadexposure: no key ") + key.name + " in [" + row.section + "] of " + path +
                       ", register left as it is");
            values.emplace_back();
            continue;
        }
        values.emplace_back(ParseValue(profiles.ReadString(path, row.section, key.name, "0", kValueBuffer)));
    }
    return values;
}

void ReportUnsaved(ModelContext& context, CDxWnd& camera, const std::string& path) {
    const std::string text = "saveexposure: could not write " + path;
    if (!context.counters.unsavedSettingsReported) context.ports.console.WriteErrorLine(text);
    context.counters.unsavedSettingsReported = true;
    camera.Log(text);
}

}  // namespace

std::string ExposureSettingsPath(platform::Ports& ports) {
    return platform::ProgramFolder(ports.environment) + "Setting.ini";
}

void SaveExposureSettings(ModelContext& context, int dev, CDxWnd& camera, int productId) {
    const ExposureRow* row = FindExposureRow(productId);
    if (!row) return;
    const std::string path = ExposureSettingsPath(context.ports);
    Registers registers(context, dev, camera, productId, row->path);
    if (registers.NeedsPageSelect()) registers.SelectPage2();
    std::vector<std::string> values;
    for (const ExposureKey& key : row->keys)
        values.push_back(platform::FormatText(row->valueFormat, registers.Read(key.reg)));
    bool written = true;
    for (std::size_t i = 0; i < values.size(); ++i) {
        written = context.ports.profileFiles.WriteString(path, row->section, row->keys[i].name, values[i]) && written;
    }
    // A folder the user may not write to (the program's folder under Program
    // Files) must not pass for a saved setting; the run still ends as usual.
    if (!written) ReportUnsaved(context, camera, path);
}

void LoadExposureSettings(ModelContext& context, int dev, CDxWnd& camera, int productId) {
    const ExposureRow* row = FindExposureRow(productId);
    if (!row) return;
    const std::vector<std::optional<unsigned>> values = ReadSavedValues(context, camera, *row);
    // Nothing saved for this family: no page select and no pauses either.
    if (std::none_of(values.begin(), values.end(), [](const auto& value) { return value.has_value(); })) return;
    Registers registers(context, dev, camera, productId, row->path);
    const LoadPauses& pauses = row->pauses;
    if (registers.NeedsPageSelect()) {
        registers.SelectPage2();
        Pause(context, pauses.afterPageSelect);
    }
    // The pauses stay those of a full load: the sensor's timing does not
    // depend on which keys the file holds.
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) Pause(context, pauses.between);
        Pause(context, pauses.beforeEach);
        if (values[i]) registers.Write(row->keys[i].reg, *values[i]);
    }
    Pause(context, pauses.afterLast);
}

}  // namespace kv::ctrl
