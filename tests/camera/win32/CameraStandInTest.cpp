// The camera object's bindings of the outside libraries against the built
// 32-bit stand-in DLLs: decorated names, cdecl calls and 32-bit arguments as
// the program uses them on a customer's machine.
#include <gtest/gtest.h>

#include <map>

#include "ctrl/camera/ClientPropertyPageLib.h"
#include "ctrl/camera/DxWnd.h"
#include "tests/fakes/FakePorts.h"
#include "tests/sim/win32/WinTestSupport.h"

namespace kv::test {
namespace {

using sim::win32::test::BridgeRegister;
using sim::win32::test::BuildProduct;
using sim::win32::test::DumpState;
using sim::win32::test::Library;
using sim::win32::test::RigVariable;
using sim::win32::test::ScratchFolder;

const char* const kRig = R"({"devices":[
  {"productId":"0x0810","smi":{"sensor":"0x78"},"i2cDevices":{"0x78":{"registers":{"0x3503":"0x07"}}}},
  {"productId":"0x0617","asicLib":true,"registers":{"0x100A":"0x03"}}
]})";

// Libraries by name from the build tree, so that no copy of a stand-in sits
// beside a shipped program.
class BuildTreeModules : public platform::Modules {
public:
    std::unique_ptr<platform::Module> Load(const std::string& name) override {
        const auto found = m_files.find(name);
        if (found == m_files.end()) return nullptr;
        auto library = std::make_unique<LoadedLibrary>(found->second);
        return library->library.Loaded() ? std::move(library) : nullptr;
    }
    std::unique_ptr<platform::Module> LoadFromProgramFolder(const std::string& name) override { return Load(name); }

private:
    struct LoadedLibrary : platform::Module {
        explicit LoadedLibrary(const std::filesystem::path& file) : library(file) {}
        void* Symbol(const std::string& name) override { return library.Entry(name.c_str()); }
        Library library;
    };
    const std::map<std::string, std::filesystem::path> m_files{
        {"SMIUtility.dll", BuildProduct(KV_TEST_SMIUTILITY)},
        {"ClientPropertyPageLIB.dll", BuildProduct(KV_TEST_ASICLIB)}};
};

class CameraStandInTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    std::filesystem::path rig = scratch.Write("rig.json", kRig);
    RigVariable variable{rig};
    BuildTreeModules modules;
};

TEST_F(CameraStandInTest, SensorWrappersReachTheSmiCamerasSensor) {
    FakePorts fakes;
    ctrl::FilterPair pair;
    ctrl::KeptLibraries kept;
    ctrl::CDxWnd camera{fakes.ports, pair, kept};
    ASSERT_TRUE(camera.smiUtility().Load(modules));
    EXPECT_EQ(camera.SmiSensor810_Write(0x3503, 0x00), 0);
    int value = -1;
    EXPECT_EQ(camera.SmiSensor_ReadHex(0x810, "0x3503", &value), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(camera.SmiSensor_WriteHex(0x810, "0x3503", "0x05"), 0);
    EXPECT_EQ(DumpState(rig)["devices"][0]["i2cDevices"]["0x78"]["registers"]["0x3503"].get<int>(), 5);
}

TEST_F(CameraStandInTest, AsicLibraryBindsByDecoratedNames) {
    auto library = ctrl::ClientPropertyPageLib::Load(modules);
    ASSERT_NE(library, nullptr);
    EXPECT_NE(library->InitialLIB(), 0);
    long value = -1;
    library->ReadAsic(0x100A, &value);
    EXPECT_EQ(value, 0x03);
    library->WriteAsic(0x100A, 0x01);
    library->UNInitialLIB();
    EXPECT_EQ(BridgeRegister(DumpState(rig), 1, "0x100A"), 0x01);
}

}  // namespace
}  // namespace kv::test
