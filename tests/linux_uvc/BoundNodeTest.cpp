// A bound capture node against a fake kernel: which extension-unit query each
// property request becomes, the driver's errors as the results the register
// library already handles, and the standard properties as the driver's
// controls (exposure in the proxy's log2 seconds, with its automatic mode).
#include <gtest/gtest.h>

#include <cerrno>

#include "linux_uvc/LinuxCaptureDevices.h"
#include "plugin/InProcessPlugin.h"
#include "tests/fakes/FakePorts.h"
#include "tests/linux_uvc/FakeKernel.h"
#include "wire/BridgeRegister.h"
#include "wire/ExtensionUnits.h"

namespace kv::platform::linux_uvc {
namespace {

class BoundNodeTest : public ::testing::Test {
protected:
    // Units 4 (Aveo), 5 (bridge) and 6 (plug-in): nodes 1, 2 and 3.
    void SetUp() override {
        kernel.AddNode("video0", "1-2", "a168", "0870", V4L2_CAP_VIDEO_CAPTURE,
                       UnitDescriptors({{4, wire::kAveoXuSet}, {5, wire::kBridgeXuSet}, {6, wire::kPluginXuSet}}));
        ASSERT_EQ(Walk(devices).at(0).Bind(filter), kS_OK);
        ASSERT_EQ(filter->QueryKsControl(control), kS_OK);
    }

    HResult Send(const Guid& set, std::uint32_t id, std::uint32_t requestFlags, std::uint32_t node,
                 std::vector<std::uint8_t>& data, std::uint32_t* returned = nullptr) {
        const auto property = wire::NodeProperty(set, id, requestFlags, node);
        return control->KsProperty(property.data(), wire::kKsNodePropertySize, data.empty() ? nullptr : data.data(),
                                   static_cast<std::uint32_t>(data.size()), returned);
    }

    FakeKernel kernel;
    test::FakeConsole console;
    plugin::InProcessPlugin pluginClass;
    LinuxCaptureDevices devices{kernel, console, pluginClass};
    std::shared_ptr<Filter> filter;
    std::shared_ptr<KsControl> control;
    std::int32_t minimum = 0, maximum = 0, step = 0, def = 0, flags = 0, value = 0;
};

TEST_F(BoundNodeTest, SetsAndGetsBecomeQueriesOnTheUnitOfTheirSet) {
    std::vector<std::uint8_t> block(wire::kAveoBlockSize, 0x5A);
    std::uint32_t returned = 0;
    EXPECT_EQ(Send(wire::kAveoXuSet, wire::kAveoControl, wire::kNodeSet, 1, block, &returned), kS_OK);
    EXPECT_EQ(returned, 32u);

    // The program names the bridge on a node of its own: the set decides.
    kernel.unit = [](uvc_xu_control_query& q) {
        if (q.query == UVC_GET_LEN) q.data[0] = 4, q.data[1] = 0;
        if (q.query == UVC_GET_CUR) q.data[2] = 0x77;
        return 0;
    };
    std::vector<std::uint8_t> none, small(3), reply(8);
    EXPECT_EQ(Send(wire::kBridgeXuSet, wire::kBridgeControl, wire::kNodeGet, wire::kBridgeNode, none, &returned),
              wire::kHrMoreData);
    EXPECT_EQ(returned, 4u) << "a get without data asks the size";
    EXPECT_EQ(Send(wire::kBridgeXuSet, wire::kBridgeControl, wire::kNodeGet, 1, small), wire::kHrInsufficientBuffer);
    EXPECT_EQ(Send(wire::kBridgeXuSet, wire::kBridgeControl, wire::kNodeGet, 1, reply, &returned), kS_OK);
    EXPECT_EQ(returned, 4u);
    EXPECT_EQ(reply[2], 0x77);

    ASSERT_EQ(kernel.queries.size(), 5u);
    EXPECT_EQ(kernel.queries[0], (UnitQuery{4, 2, UVC_SET_CUR, 32}));
    EXPECT_EQ(kernel.queries[3], (UnitQuery{5, 1, UVC_GET_LEN, 2}));
    EXPECT_EQ(kernel.queries[4], (UnitQuery{5, 1, UVC_GET_CUR, 4}));
}

TEST_F(BoundNodeTest, OnlyTheUnitsNodeSupportsItsSetAndNothingElseReachesTheDriver) {
    std::vector<std::uint8_t> none, block(4);
    EXPECT_EQ(Send(wire::kAveoXuSet, 0, wire::kNodeSetSupport, 1, none), kS_OK);
    EXPECT_EQ(Send(wire::kAveoXuSet, 0, wire::kNodeSetSupport, 3, none), wire::kHrSetNotFound);
    EXPECT_EQ(Send(wire::kDriverPropertySet, 1, wire::kNodeGet, 1, block), wire::kHrSetNotFound);
    const auto plain = wire::NodeProperty(wire::kAveoXuSet, 2, wire::kKsGet, 0);
    EXPECT_EQ(control->KsProperty(plain.data(), wire::kKsPropertySize, block.data(), 4, nullptr), wire::kHrSetNotFound)
        << "not a node request";
    EXPECT_EQ(Send(wire::kAveoXuSet, 2, wire::kKsTopology | wire::kKsBasicSupport, 1, block), wire::kHrNotSupported);
    EXPECT_EQ(Send(wire::kAveoXuSet, 0x102, wire::kNodeSet, 1, block), wire::kHrNotFound) << "one-byte selectors";
    EXPECT_TRUE(kernel.queries.empty());
}

TEST_F(BoundNodeTest, TheDriversErrorsAreTheResultsTheLibraryHandles) {
    const std::pair<int, HResult> cases[] = {{ENOENT, wire::kHrNotFound},      {ENOBUFS, wire::kHrInsufficientBuffer},
                                             {EIO, wire::kHrGenFailure},       {EPIPE, wire::kHrGenFailure},
                                             {EBADRQC, wire::kHrNotSupported}, {ENODEV, kE_FAIL}};
    std::vector<std::uint8_t> block(4);
    for (const auto& [error, result] : cases) {
        kernel.unit = [error = error](uvc_xu_control_query&) { return error; };
        std::uint32_t returned = 99;
        EXPECT_EQ(Send(wire::kBridgeXuSet, 1, wire::kNodeSet, 1, block, &returned), result) << error;
        EXPECT_EQ(Send(wire::kBridgeXuSet, 1, wire::kNodeGet, 1, block), result) << error;
        EXPECT_EQ(returned, 0u);
    }
}

TEST_F(BoundNodeTest, VideoProcessingPropertiesAreTheDriversControls) {
    kernel.AddControl(V4L2_CID_BRIGHTNESS, -64, 64, 0);
    kernel.AddControl(V4L2_CID_CONTRAST, 0, 95, 40);
    std::shared_ptr<RangedProperties> procAmp;
    ASSERT_EQ(filter->QueryVideoProcAmp(procAmp), kS_OK);

    EXPECT_EQ(procAmp->GetRange(0, minimum, maximum, step, def, flags), kS_OK);
    EXPECT_EQ(std::vector<std::int32_t>({minimum, maximum, step, def, flags}),
              std::vector<std::int32_t>({-64, 64, 1, 0, 2}));
    EXPECT_EQ(procAmp->Set(1, 32, 2), kS_OK);
    EXPECT_EQ(kernel.values[V4L2_CID_CONTRAST], 32);
    EXPECT_EQ(procAmp->GetRange(3, minimum, maximum, step, def, flags), wire::kHrNotFound) << "no such control";
    EXPECT_EQ(procAmp->Set(6, 1, 2), wire::kHrNotFound) << "color enable is not mapped";
}

TEST_F(BoundNodeTest, ExposureIsShownInLog2SecondsWithItsAutomaticMode) {
    kernel.AddControl(V4L2_CID_EXPOSURE_ABSOLUTE, 3, 2047, 156);
    kernel.AddControl(V4L2_CID_EXPOSURE_AUTO, 0, 3, V4L2_EXPOSURE_APERTURE_PRIORITY);
    kernel.values[V4L2_CID_EXPOSURE_ABSOLUTE] = 312;
    std::shared_ptr<RangedProperties> cameraControl;
    ASSERT_EQ(filter->QueryCameraControl(cameraControl), kS_OK);

    EXPECT_EQ(cameraControl->GetRange(4, minimum, maximum, step, def, flags), kS_OK);
    EXPECT_EQ(std::vector<std::int32_t>({minimum, maximum, step, def, flags}),
              std::vector<std::int32_t>({-12, -2, 1, -6, 3}));
    EXPECT_EQ(cameraControl->Get(4, value, flags), kS_OK);
    EXPECT_EQ(value, -5);
    EXPECT_EQ(flags, 1);

    EXPECT_EQ(cameraControl->Set(4, -3, 2), kS_OK);
    EXPECT_EQ(kernel.values[V4L2_CID_EXPOSURE_AUTO], V4L2_EXPOSURE_MANUAL);
    EXPECT_EQ(kernel.values[V4L2_CID_EXPOSURE_ABSOLUTE], 1250);
    EXPECT_EQ(cameraControl->Set(4, 0, 1), kS_OK);
    EXPECT_EQ(kernel.values[V4L2_CID_EXPOSURE_AUTO], V4L2_EXPOSURE_APERTURE_PRIORITY);
    EXPECT_EQ(kernel.values[V4L2_CID_EXPOSURE_ABSOLUTE], 1250) << "automatic only switches the mode";
}

}  // namespace
}  // namespace kv::platform::linux_uvc
