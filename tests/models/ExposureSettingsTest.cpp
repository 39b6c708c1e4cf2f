// The settings file's place and the reading of its values, on fake ports: a
// 0x09B0 camera on the fake USB library shows each value a load writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ctrl/camera/DxWnd.h"
#include "ctrl/models/DirectUsbPath.h"
#include "ctrl/models/ExposureSettings.h"
#include "tests/fakes/FakePorts.h"

namespace kv::test {
namespace {

using ::testing::ElementsAre;

const char* const kIni = "C:\\Korvex\\Setting.ini";

class ExposureSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakes.directUsb.AddDevice(0x09B0, "USB\\VID_A168&PID_09B0&MI_00\\6&1A2B3CB0&0&0000");
        ASSERT_EQ(usb.OpenDirectUsbDevice("vid_a168&pid_09b0&mi_00\\6&1a2b3cb0&0&0000"), 1);
    }
    // The values the load wrote, register by register, from the requests sent.
    std::vector<std::pair<int, int>> Written() const {
        std::vector<std::pair<int, int>> writes;
        for (const auto& transfer : fakes.directUsb.transfers) {
            if (transfer.setup.value == 0x0300)
                writes.push_back({transfer.sent[1] << 8 | transfer.sent[2], transfer.sent[3]});
        }
        return writes;
    }

    FakePorts fakes;
    ctrl::FilterPair pair;
    ctrl::KeptLibraries kept;
    ctrl::CDxWnd camera{fakes.ports, pair, kept};
    ctrl::DispatchCounters counters;
    ctrl::DirectUsbPath usb{fakes.ports};
    ctrl::ModelContext context{fakes.ports, counters, usb};
};

TEST_F(ExposureSettingsTest, TheFileLivesInTheProgramsFolderWhateverItsName) {
    EXPECT_EQ(ctrl::ExposureSettingsPath(fakes.ports), kIni);
    fakes.environment.modulePath = "D:\\x\\cam.exe";  // shorter than "\KV_DS_Ctrl.exe"
    EXPECT_EQ(ctrl::ExposureSettingsPath(fakes.ports), "D:\\x\\Setting.ini");
    fakes.environment.modulePath = "/opt/korvex/KV_DS_Ctrl-1.14";
    EXPECT_EQ(ctrl::ExposureSettingsPath(fakes.ports), "/opt/korvex/Setting.ini");
}

TEST_F(ExposureSettingsTest, SavingReadsTheFourRegistersAndWritesThemInKeyOrder) {
    fakes.directUsb.inReply = 0x0A;
    ctrl::SaveExposureSettings(context, 0, camera, 0x9B0);
    EXPECT_EQ(fakes.profileFiles.files.at(kIni), "[Kd329]\r\n3A1E=0a\r\n3A1B=0a\r\n3A10=0a\r\n3A0F=0a\r\n");
    EXPECT_TRUE(fakes.clock.sleeps.empty());
    EXPECT_TRUE(fakes.console.errorLines.empty());
}

TEST_F(ExposureSettingsTest, AKeyTheFileDoesNotHoldLeavesItsRegisterAsItIs) {
    fakes.environment.rawCommandLine = "KV_DS_Ctrl.exe loadexposure /d";
    fakes.files.AddDirectoryTree("C:\\Users\\Public\\Documents");
    for (const char* text : {"", "[Kb29]\r\n3A1E=20\r\n"}) {  // no file; another family's section only
        if (*text) fakes.profileFiles.files[kIni] = text;
        ctrl::LoadExposureSettings(context, 0, camera, 0x9B0);
        EXPECT_TRUE(Written().empty()) << text;
        EXPECT_TRUE(fakes.clock.sleeps.empty());
    }
    fakes.profileFiles.files[kIni] = "[Kd329]\r\n3A1E=00\r\n3A10=\r\n3A0F=0\r\n";
    ctrl::LoadExposureSettings(context, 0, camera, 0x9B0);
    EXPECT_THAT(Written(), ElementsAre(std::pair{0x3A1E, 0}, std::pair{0x3A10, 0}, std::pair{0x3A0F, 0}))
        << "a key that is there is written, empty or zero";
    const std::string log = fakes.files.Content("C:\\Users\\Public\\Documents\\KV_DS_Ctrl\\Log\\KV_DS_LOG.txt");
    const auto count = [&log](const std::string& text) {
        std::size_t found = 0;
        for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++found;
        return found;
    };
    EXPECT_EQ(count("loadexposure: no key 3A1B in [Kd329] of C:\\Korvex\\Setting.ini, register left as it is"), 3u)
        << log;
    EXPECT_EQ(count("no key 3A1E in [Kd329]"), 2u) << "not named by the load that has it";
}

TEST_F(ExposureSettingsTest, ASaveThatCannotWriteSaysSoOnceOnStandardError) {
    fakes.directUsb.inReply = 0x0A;
    fakes.profileFiles.writesFail = true;
    ctrl::SaveExposureSettings(context, 0, camera, 0x9B0);
    ctrl::SaveExposureSettings(context, 0, camera, 0x9B0);  // a second camera of the run
    EXPECT_EQ(fakes.console.errorLines,
              std::vector<std::string>{"saveexposure: could not write C:\\Korvex\\Setting.ini"});
    EXPECT_TRUE(fakes.console.lines.empty());
    EXPECT_TRUE(fakes.profileFiles.files.empty());
}

TEST_F(ExposureSettingsTest, ValuesAreReadAsUnsignedHexOfAtMostFourCharacters) {
    fakes.profileFiles.files[kIni] = "[kd329]\n3a1e = 0x1F\n3A1B=zz\n3A10=12345\n3A0F=-1\n";
    ctrl::LoadExposureSettings(context, 0, camera, 0x9B0);
    EXPECT_THAT(Written(), ElementsAre(std::pair{0x3A1E, 0x1F},    // the C library's "0x" is taken
                                       std::pair{0x3A1B, 0},       // no hexadecimal digit
                                       std::pair{0x3A10, 0x34},    // "1234", its low byte
                                       std::pair{0x3A0F, 0xFF}));  // a minus wraps
}

TEST_F(ExposureSettingsTest, ProductsOutsideEveryRowNeitherSaveNorLoad) {
    fakes.directUsb.inReply = 0x0A;
    for (const int productId : {0x811, 0x849, 0x9B1, 0x717, 0x90A}) {
        ctrl::SaveExposureSettings(context, 0, camera, productId);
        ctrl::LoadExposureSettings(context, 0, camera, productId);
    }
    EXPECT_TRUE(fakes.profileFiles.files.empty());
    EXPECT_TRUE(fakes.directUsb.transfers.empty());
    EXPECT_TRUE(fakes.clock.sleeps.empty());
}

}  // namespace
}  // namespace kv::test
