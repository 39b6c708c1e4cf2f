// Injected faults: failing and hanging requests, matched by path, op and id.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "sim/hw/Faults.h"
#include "tests/sim/hw/HwTestSupport.h"
#include "wire/KsProperty.h"
#include "wire/PropertySets.h"

namespace kv::sim::test {
namespace {

std::vector<std::string> FieldNames(const RequestRecord& record) {
    std::vector<std::string> names;
    for (const RecordField& field : record.fields) names.push_back(field.name);
    return names;
}

template <class T>
T FieldValue(const RequestRecord& record, const std::string& name) {
    for (const RecordField& field : record.fields) {
        if (field.name == name) return std::get<T>(field.value);
    }
    ADD_FAILURE() << "no field " << name;
    return T{};
}

class FaultsTest : public ::testing::Test {
protected:
    FaultsTest() {
        cam.config.bridgeXu = {true, 1};
        cam.config.nodeTypes = {wire::kNodeCameraTerminal, wire::kNodeDevSpecific};
    }
    Answer Write(std::uint16_t address, std::uint8_t value) {
        ByteVector block{static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8), value, 0};
        return cam.Ks(wire::kBridgeXuSet, 1, kSetTopology, 1, block);
    }
    TestCamera cam;
};

TEST_F(FaultsTest, FailingRequestDoesNothingAndAnswersTheCode) {
    cam.config.faults.push_back({"bridge-xu", std::string("set"), std::nullopt, false, 0, std::nullopt});
    const Answer answer = Write(0x1006, 1);
    EXPECT_EQ(answer.hr, wire::kHrGenFailure);
    EXPECT_TRUE(cam.state.bridge.registers.empty());
    EXPECT_EQ(cam.records.back().hr, wire::kHrGenFailure);

    ByteVector reply(4);
    EXPECT_EQ(cam.Ks(wire::kBridgeXuSet, 1, kGetTopology, 1, reply).hr, 0) << "the fault names only sets";
}

TEST_F(FaultsTest, FailedRequestIsRecordedWithWhatItAskedButNothingItGot) {
    cam.config.faults.push_back({"bridge-xu", std::nullopt, std::nullopt, false, 0, std::nullopt});
    cam.config.faults.push_back({"smi", std::nullopt, std::nullopt, false, 0, std::nullopt});
    cam.config.faults.push_back({"usb", std::nullopt, std::nullopt, true, 300, platform::kE_FAIL});
    cam.config.smi = true;
    cam.config.directUsb = true;

    Write(0x1006, 0x5A);
    const RequestRecord& set = cam.records.back();
    EXPECT_EQ(FieldNames(set), (std::vector<std::string>{"set", "id", "flags", "node", "data", "fault"}));
    EXPECT_EQ(FieldValue<std::string>(set, "set"), wire::kBridgeXuSet.ToString());
    EXPECT_EQ(FieldValue<std::string>(set, "flags"), "0x10000002");
    EXPECT_EQ(FieldValue<std::int64_t>(set, "node"), 1);
    EXPECT_EQ(FieldValue<Bytes>(set, "data"), (Bytes{0x06, 0x10, 0x5A, 0x00}));
    EXPECT_EQ(FieldValue<std::string>(set, "fault"), "fail");

    ByteVector reply(4, 0xEE);
    cam.Ks(wire::kBridgeXuSet, 1, kGetTopology, 1, reply);
    EXPECT_EQ(FieldNames(cam.records.back()), (std::vector<std::string>{"set", "id", "flags", "node", "fault"}))
        << "a failed get returned no data";

    cam.camera().SmiSetSensorRegister(0x3503, 7);
    EXPECT_EQ(FieldNames(cam.records.back()), (std::vector<std::string>{"register", "value", "fault"}));
    EXPECT_EQ(FieldValue<std::int64_t>(cam.records.back(), "register"), 0x3503);
    std::int32_t value = 0;
    cam.camera().SmiGetGpio(3, value);
    EXPECT_EQ(FieldNames(cam.records.back()), (std::vector<std::string>{"port", "fault"}));

    ByteVector flc{0x62, 0x04, 0x0A};
    cam.camera().UsbControl(UsbSetup{0x21, 1, 0x0302, 0x0300, 3}, flc);
    const RequestRecord& usb = cam.records.back();
    EXPECT_EQ(FieldNames(usb), (std::vector<std::string>{"setup", "data", "fault"}));
    EXPECT_EQ(FieldValue<Bytes>(usb, "data"), (Bytes{0x62, 0x04, 0x0A}));
    EXPECT_EQ(FieldValue<std::string>(usb, "fault"), "hang");
    EXPECT_EQ(usb.hangMs, 300u);
}

// Rig files are checked against the operation table, so a request whose op
// is missing from it could never be made to fail.
TEST_F(FaultsTest, EveryRequestsOperationIsOneItsPathLists) {
    Camera camera = cam.camera();
    ByteVector four(4), forty(40);
    std::int32_t value = 0, flags = 0;
    std::uint32_t support = 0;
    PropertyRange range;
    for (const std::uint32_t type : {kGetTopology, kSetTopology, kSupportTopology, 0x10000200u, 0x10000004u}) {
        for (const platform::Guid& set : {wire::kBridgeXuSet, wire::kPluginXuSet, wire::kAveoXuSet,
                                          wire::kDriverPropertySet, wire::kNodeDevSpecific}) {
            cam.Ks(set, 1, type, 1, four);
        }
    }
    camera.KsProperty(ByteVector(8), four);
    camera.PropertySetSet(wire::kDriverPropertySet, 1, forty, forty);
    camera.PropertySetGet(wire::kDriverPropertySet, 1, forty, forty);
    camera.PropertySetQuerySupported(wire::kDriverPropertySet, 1, support);
    for (const PropertyGroup group : {PropertyGroup::VideoProcAmp, PropertyGroup::CameraControl}) {
        camera.GetRange(group, 0, range);
        camera.Get(group, 0, value, flags);
        camera.Set(group, 0, 0, 2);
    }
    camera.UsbOpen();
    camera.UsbControl(UsbSetup{0x21, 1, 0x0300, 0x0300, 4}, four);
    camera.UsbControl(UsbSetup{0xA1, 0x81, 0x0301, 0x0300, 1}, four);
    camera.SmiCreateDevice();
    camera.SmiSetSensorRegister(1, 1);
    camera.SmiGetSensorRegister(1, value);
    camera.SmiSetGpio(0, 1);
    camera.SmiGetGpio(0, value);
    camera.AsicLibInit();
    camera.AsicRead(1, value);
    camera.AsicWrite(1, 1);
    camera.AsicLibUninit();

    std::set<std::string> seen;
    for (const RequestRecord& record : cam.records) {
        const auto ops = PathOps(record.path);
        EXPECT_NE(std::find(ops.begin(), ops.end(), record.op), ops.end()) << record.path << " " << record.op;
        seen.insert(record.path + " " + record.op);
    }
    for (const std::string_view path : {paths::kBridgeXu, paths::kDriver, paths::kOtherKs, paths::kVideoProcAmp,
                                        paths::kCameraControl, paths::kUsb, paths::kSmi, paths::kAsicLib}) {
        for (const std::string_view op : PathOps(path)) {
            EXPECT_EQ(seen.count(std::string(path) + " " + std::string(op)), 1u)
                << "no request made " << path << " " << op;
        }
    }
}

TEST_F(FaultsTest, FaultCanNameItsCodeAndAnId) {
    cam.config.faults.push_back({"usb", std::nullopt, 0x0302u, false, 0, static_cast<HResult>(0x80070005u)});
    cam.config.directUsb = true;
    cam.AddDevice(0x62);
    ByteVector flc{0x62, 0x04, 0x0A};
    EXPECT_EQ(cam.camera().UsbControl(UsbSetup{0x21, 1, 0x0302, 0x0300, 3}, flc).hr, static_cast<HResult>(0x80070005u));
    cam.AddDevice(0x78);
    ByteVector sensor{0x78, 0x35, 0x03, 0x01};
    EXPECT_EQ(cam.camera().UsbControl(UsbSetup{0x21, 1, 0x0300, 0x0300, 4}, sensor).hr, 0);
}

TEST_F(FaultsTest, HangIsReportedAndTheRequestStillHappens) {
    cam.config.faults.push_back({"bridge-xu", std::nullopt, std::nullopt, true, 750, std::nullopt});
    const Answer answer = Write(0x1006, 1);
    EXPECT_EQ(answer.hr, 0);
    EXPECT_EQ(answer.hangMs, 750u);
    EXPECT_EQ(cam.state.bridge.registers[0x1006], 1);
    EXPECT_EQ(cam.records.back().hangMs, 750u);
}

TEST_F(FaultsTest, HangThatEndsInFailureDoesNothing) {
    cam.config.faults.push_back({"bridge-xu", std::nullopt, 1u, true, 2000, platform::kE_FAIL});
    const Answer answer = Write(0x1006, 1);
    EXPECT_EQ(answer.hr, platform::kE_FAIL);
    EXPECT_EQ(answer.hangMs, 2000u);
    EXPECT_TRUE(cam.state.bridge.registers.empty());
}

TEST_F(FaultsTest, OutsideLibraryFaultsDefaultToPlainFailure) {
    cam.config.smi = true;
    cam.config.faults.push_back({"smi", std::string("create"), std::nullopt, false, 0, std::nullopt});
    EXPECT_EQ(cam.camera().SmiCreateDevice().hr, platform::kE_FAIL);
    EXPECT_EQ(cam.camera().SmiSetGpio(0, 1).hr, 0);
}

}  // namespace
}  // namespace kv::sim::test
