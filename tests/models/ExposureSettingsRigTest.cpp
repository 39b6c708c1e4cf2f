// Saving and loading on the simulated rig, one camera of every family: what
// each row writes to Setting.ini, what a load puts back into the sensors and
// the pauses between its writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>

#include "ctrl/camera/DxWnd.h"
#include "ctrl/models/DirectUsbPath.h"
#include "ctrl/models/ExposureSettings.h"
#include "ctrl/xulib/XuLib.h"
#include "ctrl/xulib/XuLibrary.h"
#include "sim/host/SimulatedDevices.h"
#include "tests/fakes/FakePorts.h"

namespace kv::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const char* const kPlugin =
    R"("extensionUnits": {"plugin": {"node": 2}}, "registers": {"0x0005": "0x03", "0x0006": "0x43"})";

std::string DeviceText(int productId, const std::string& units, const std::string& i2c) {
    char head[96];
    std::snprintf(head, sizeof head, R"({"productId": "0x%04X", "interface": 0, "instance": "6&%04x&0&0000", )",
                  productId, productId);
    return head + units + R"(, "i2cDevices": )" + i2c + "}";
}

const std::string kTn48Registers =
    R"({"0x038E": "0x04", "0x085A": "0x01", "0x085B": "0x6F", "0x085C": "0x03", "0x0018": "0x65", "0x001D": "0x87", "0x0015": "0x21", "0x0016": "0x43"})";
const std::string kTn48Saved =
    "038E=04\r\n085A=01\r\n085B=6f\r\n085C=03\r\n0018=65\r\n001D=87\r\n0015=21\r\n0016=43\r\n";
const std::string kTn48Changed =
    "038E=c1\r\n085A=c2\r\n085B=c3\r\n085C=c4\r\n0018=c5\r\n001D=c6\r\n0015=c7\r\n0016=c8\r\n";
const std::string k78Registers = R"({"0x3A1E": "0x16", "0x3A1B": "0x1B", "0x3A10": "0x10", "0x3A0F": "0x0F"})";
const std::string k78Saved = "3A1E=16\r\n3A1B=1b\r\n3A10=10\r\n3A0F=0f\r\n";
const std::string k78Changed = "3A1E=a1\r\n3A1B=a2\r\n3A10=a3\r\n3A0F=a4\r\n";

// One camera of a family, alone on its rig (every request rewrites the
// rig's state, so small rigs keep the tests quick), with what it saves from
// its initial registers, a file of other values, and the pauses of a load.
struct FamilyCase {
    std::string section;
    int productId;
    std::string device;
    std::string saved;
    std::string changed;
    Lines pauses;
};

void PrintTo(const FamilyCase& family, std::ostream* out) { *out << family.section << " " << family.productId; }

const Lines kNoPauses;
const Lines kMh40Pauses{"pause 250", "pause 250", "pause 2250"};

const std::vector<FamilyCase>& Families() {
    static const std::vector<FamilyCase> families{
        {"Kd329", 0x9B0, DeviceText(0x9B0, R"("directUsb": true)", R"({"0x78": {"registers": )" + k78Registers + "}}"),
         k78Saved, k78Changed, kNoPauses},
        {"Kb21V6", 0x902, DeviceText(0x902, kPlugin, R"({"0x78": {"port": 2, "registers": )" + k78Registers + "}}"),
         k78Saved, k78Changed, kNoPauses},
        {"Kb21V6", 0x929, DeviceText(0x929, kPlugin, R"({"0x78": {"port": 2, "registers": )" + k78Registers + "}}"),
         k78Saved, k78Changed, kNoPauses},
        {"Kb29", 0x990,
         DeviceText(
             0x990,
             R"("extensionUnits": {"aveo": {"node": 2}}, "registers": {"0x0005": "0x03", "0x0006": "0x43", "0x0007": "0x5C"})",
             R"({"0x78": {"port": 2, "registers": )" + k78Registers + "}}"),
         k78Saved, k78Changed, kNoPauses},
        {"Kb21", 0x812, DeviceText(0x812, R"("smi": true)", R"({"0x78": {"registers": )" + k78Registers + "}}"),
         k78Saved, k78Changed, kNoPauses},
        {"Mh40", 0x716,
         DeviceText(0x716, R"("extensionUnits": {"bridge": {"node": 1}})",
                    R"({"0x21": {"registers": {"0x24": "0x3C", "0x25": "0x2C"}}})"),
         "24=3c\r\n25=2c\r\n", "24=11\r\n25=12\r\n", kMh40Pauses},
        {"Mh40V6", 0x9A0,
         DeviceText(0x9A0, R"("extensionUnits": {"bridge": {"node": 1}})",
                    R"({"0x21": {"registers": {"0x24": "0x4C", "0x25": "0x3C"}}})"),
         "24=4c\r\n25=3c\r\n", "24=13\r\n25=14\r\n", kMh40Pauses},
        {"Tn21V6", 0x870, DeviceText(0x870, kPlugin, R"({"0x48": {"port": 2, "registers": )" + kTn48Registers + "}}"),
         kTn48Saved, kTn48Changed, Lines(8, "pause 50")},
        {"Tn29", 0x919, DeviceText(0x919, kPlugin, R"({"0x48": {"port": 2, "registers": )" + kTn48Registers + "}}"),
         kTn48Saved, kTn48Changed, Lines(7, "pause 50")},
        {"Tn21", 0x848,
         DeviceText(0x848, R"("extensionUnits": {"bridge": {"node": 1}})",
                    R"({"0x5D": {"pages": {"2": {"0x23": "0x01A7", "0x2E": "0x0312", "0x37": "0x80C0"}}}})"),
         "0237=01a7\r\n022e=0312\r\n", "0237=1516\r\n022e=1718\r\n", Lines(3, "pause 50")},
    };
    return families;
}

// Pauses and the camera object's sensor writes, in the order they happen.
struct Events {
    Lines lines;
};

class EventClock : public FakeClock {
public:
    explicit EventClock(Events& events) : m_events(events) {}
    void Sleep(unsigned milliseconds) override {
        m_events.lines.push_back("pause " + std::to_string(milliseconds));
        FakeClock::Sleep(milliseconds);
    }

private:
    Events& m_events;
};

class RecordingCamera : public ctrl::CDxWnd {
public:
    RecordingCamera(platform::Ports& ports, ctrl::FilterPair& pair, ctrl::KeptLibraries& kept, Events& events)
        : CDxWnd(ports, pair, kept), m_events(events) {}
    int Sensor_Write(int slave, int reg, unsigned value, int width) override {
        if (width > 0) {  // a width of 0 is the address phase of a read
            char text[48];
            std::snprintf(text, sizeof text, "S %02X %02X %X w%d", slave, reg, value, width);
            m_events.lines.push_back(text);
        }
        return CDxWnd::Sensor_Write(slave, reg, value, width);
    }

private:
    Events& m_events;
};

fs::path MakeFolder() {
    const fs::path folder = fs::temp_directory_path() / ("kv-exposure-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    return folder;
}

std::unique_ptr<sim::host::SimulatedDevices> MakeDevices(const fs::path& folder, const std::string& device,
                                                         platform::Clock& clock) {
    std::string error;
    auto rig = sim::Rig::FromText(folder / "rig.json", R"({"devices": [)" + device + "]}", error);
    EXPECT_TRUE(rig) << error;
    return std::make_unique<sim::host::SimulatedDevices>(
        std::make_unique<sim::host::SimContext>(std::move(rig), clock));
}

const char* const kIni = "C:\\Korvex\\Setting.ini";

// A rig of one camera and the program's side: fake ports but for the rig's
// devices, a camera object, the direct USB path and the register library
// behind the plain functions.
struct RigWorld {
    explicit RigWorld(const std::string& device) : devices(MakeDevices(folder, device, clock)) {
        fakes.environment.windows = false;  // no plug-in installation check
    }
    ~RigWorld() {
        ctrl::xulib_Close();
        fs::remove_all(folder);
    }

    // Binds the camera as the dispatcher would, a direct USB camera opened
    // as the selected one; the events start afresh.
    void Bind(int productId) {
        char key[64];
        std::snprintf(key, sizeof key, "%04x&mi_00#6&%04x&0&0000", productId, productId);
        ASSERT_EQ(camera.Device_Init(0xA168, productId, key), 1);
        if (productId == 0x9B0) {
            ASSERT_EQ(usb.OpenDirectUsbDevice("vid_a168&pid_09b0&mi_00\\6&09b0&0&0000"), 1);
        }
        events.lines.clear();
    }
    void Save(int productId) {
        Bind(productId);
        ctrl::SaveExposureSettings(context, 0, camera, productId);
    }
    void Load(int productId) {
        Bind(productId);
        ctrl::LoadExposureSettings(context, 0, camera, productId);
    }
    std::string& File() { return fakes.profileFiles.files[kIni]; }
    Lines Pauses() const {
        Lines pauses;
        for (const std::string& line : events.lines) {
            if (line.rfind("pause", 0) == 0) pauses.push_back(line);
        }
        return pauses;
    }

    fs::path folder = MakeFolder();
    Events events;
    FakePorts fakes;
    EventClock clock{events};
    std::unique_ptr<sim::host::SimulatedDevices> devices;
    platform::Ports ports{fakes.environment,
                          fakes.files,
                          fakes.console,
                          clock,
                          fakes.ui,
                          fakes.processes,
                          fakes.comApartment,
                          devices->captureDevices(),
                          devices->extensionUnits(),
                          fakes.mediaGraphs,
                          devices->directUsb(),
                          devices->modules(),
                          fakes.registry,
                          fakes.sync,
                          fakes.profileFiles};
    ctrl::FilterPair pair;
    ctrl::KeptLibraries kept;
    RecordingCamera camera{ports, pair, kept, events};
    ctrl::DispatchCounters counters;
    ctrl::DirectUsbPath usb{ports};
    ctrl::ModelContext context{ports, counters, usb};
    ctrl::xulib::XuLibrary library{ports};
    ctrl::XuLibAttachment attachment{library};
};

class FamilyTest : public ::testing::TestWithParam<FamilyCase> {
protected:
    std::string Section(const std::string& values) const { return "[" + GetParam().section + "]\r\n" + values; }
    RigWorld world{GetParam().device};
};

TEST_P(FamilyTest, SavesItsSectionInKeyOrderWithoutPauses) {
    world.Save(GetParam().productId);
    EXPECT_EQ(world.File(), Section(GetParam().saved));
    EXPECT_TRUE(world.Pauses().empty());
}

TEST_P(FamilyTest, LoadsTheFilesValuesIntoTheRegisters) {
    world.File() = Section(GetParam().changed);
    world.Load(GetParam().productId);
    EXPECT_EQ(world.Pauses(), GetParam().pauses);
    world.fakes.profileFiles.files.clear();
    world.Save(GetParam().productId);
    EXPECT_EQ(world.File(), Section(GetParam().changed)) << "saved again after the load";
}

TEST_P(FamilyTest, KeysTheFileDoesNotHoldLeaveTheirRegistersAsTheyAre) {
    // No file, then only another family's section: nothing is written.
    for (const std::string& text : {std::string(), std::string("[Other]\r\n3A1E=99\r\n24=99\r\n0237=99\r\n")}) {
        world.fakes.profileFiles.files.clear();
        if (!text.empty()) world.File() = text;
        world.Load(GetParam().productId);
        EXPECT_TRUE(world.Pauses().empty());
        world.fakes.profileFiles.files.clear();
        world.Save(GetParam().productId);
        EXPECT_EQ(world.File(), Section(GetParam().saved)) << text;
    }
    // Without its first key, the others are loaded and the first register
    // keeps its value.
    const std::string& changed = GetParam().changed;
    const std::string firstSaved = GetParam().saved.substr(0, GetParam().saved.find('\n') + 1);
    world.File() = Section(changed.substr(changed.find('\n') + 1));
    world.Load(GetParam().productId);
    EXPECT_EQ(world.Pauses(), GetParam().pauses);
    world.fakes.profileFiles.files.clear();
    world.Save(GetParam().productId);
    EXPECT_EQ(world.File(), Section(firstSaved + changed.substr(changed.find('\n') + 1)));
}

INSTANTIATE_TEST_SUITE_P(EveryRow, FamilyTest, ::testing::ValuesIn(Families()),
                         [](const ::testing::TestParamInfo<FamilyCase>& row) {
                             char name[32];
                             std::snprintf(name, sizeof name, "%s_%04X", row.param.section.c_str(),
                                           row.param.productId);
                             return std::string(name);
                         });

TEST(ExposureSettingsRigTest, Mh40PausesAroundItsTwoWritesAndSendsTheLowByteOfAWiderValue) {
    RigWorld world(Families().at(5).device);
    world.File() = "[Mh40]\r\n24=1ab\r\n25=7\r\n";
    world.Load(0x716);
    EXPECT_EQ(world.events.lines, (Lines{"pause 250", "S 21 24 1AB w1", "pause 250", "S 21 25 7 w1", "pause 2250"}));
    world.Save(0x716);
    EXPECT_EQ(world.File(), "[Mh40]\r\n24=ab\r\n25=07\r\n");
}

TEST(ExposureSettingsRigTest, Tn21SelectsPage2AndKeepsRegister23UnderKey0237) {
    RigWorld world(Families().at(9).device);
    world.File() = "[Tn21]\r\n0237=0155\r\n022e=0abc\r\n";
    world.Load(0x848);
    EXPECT_EQ(world.events.lines,
              (Lines{"S 5D F0 2 w2", "pause 50", "S 5D 23 155 w2", "pause 50", "S 5D 2E ABC w2", "pause 50"}));
    world.Save(0x848);
    EXPECT_EQ(world.events.lines.at(0), "S 5D F0 2 w2") << "the page is selected before the reads";
    EXPECT_EQ(world.File(), "[Tn21]\r\n0237=0155\r\n022e=0abc\r\n");
}

TEST(ExposureSettingsRigTest, Product811NeitherSavesNorLoads) {
    RigWorld world(DeviceText(0x811, R"("smi": true)", R"({"0x78": {"registers": {"0x3A1E": "0x56"}}})"));
    world.Save(0x811);
    EXPECT_TRUE(world.fakes.profileFiles.files.empty());
    world.File() = "[Kb21]\r\n3A1E=99\r\n";
    world.Load(0x811);
    int value = 0;
    world.camera.smiUtility().GetSensorRegisterByVidPid(0x3A1E, &value, 0x811);
    EXPECT_EQ(value, 0x56);
}

}  // namespace
}  // namespace kv::test
