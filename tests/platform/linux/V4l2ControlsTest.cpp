// The standard properties of a bound capture node as the driver's controls,
// against a fake kernel: ranges and values as they are, exposure in the
// proxy's log2 seconds with its automatic mode.
#include <gtest/gtest.h>

#include "platform/linux/LinuxCaptureDevices.h"
#include "tests/fakes/FakePorts.h"
#include "tests/platform/linux/FakeKernel.h"
#include "wire/KsProperty.h"

namespace kv::platform::linux_uvc {
namespace {

class V4l2ControlsTest : public ::testing::Test {
protected:
    std::shared_ptr<Filter> Bound() {
        kernel.AddNode("video0", "1-2", "a168", "0870", V4L2_CAP_VIDEO_CAPTURE);
        std::shared_ptr<Filter> filter;
        EXPECT_EQ(Walk(devices).at(0).Bind(filter), kS_OK);
        return filter;
    }

    FakeKernel kernel;
    test::FakeConsole console;
    LinuxCaptureDevices devices{kernel, console};
    std::int32_t minimum = 0, maximum = 0, step = 0, def = 0, flags = 0, value = 0;
};

TEST_F(V4l2ControlsTest, VideoProcessingPropertiesAreTheDriversControls) {
    kernel.AddControl(V4L2_CID_BRIGHTNESS, -64, 64, 0);
    kernel.AddControl(V4L2_CID_CONTRAST, 0, 95, 40);
    std::shared_ptr<RangedProperties> procAmp;
    ASSERT_EQ(Bound()->QueryVideoProcAmp(procAmp), kS_OK);

    EXPECT_EQ(procAmp->GetRange(0, minimum, maximum, step, def, flags), kS_OK);
    EXPECT_EQ(std::vector<std::int32_t>({minimum, maximum, step, def, flags}),
              std::vector<std::int32_t>({-64, 64, 1, 0, 2}));
    EXPECT_EQ(procAmp->Set(1, 32, 2), kS_OK);
    EXPECT_EQ(kernel.values[V4L2_CID_CONTRAST], 32);
    EXPECT_EQ(procAmp->Get(1, value, flags), kS_OK);
    EXPECT_EQ(value, 32);
    EXPECT_EQ(procAmp->GetRange(3, minimum, maximum, step, def, flags), wire::kHrNotFound) << "no such control";
    EXPECT_EQ(procAmp->Set(6, 1, 2), wire::kHrNotFound) << "color enable is not mapped";
}

TEST_F(V4l2ControlsTest, ExposureIsShownInLog2SecondsWithItsAutomaticMode) {
    kernel.AddControl(V4L2_CID_EXPOSURE_ABSOLUTE, 3, 2047, 156);
    kernel.AddControl(V4L2_CID_EXPOSURE_AUTO, 0, 3, V4L2_EXPOSURE_APERTURE_PRIORITY);
    kernel.values[V4L2_CID_EXPOSURE_ABSOLUTE] = 312;
    std::shared_ptr<RangedProperties> cameraControl;
    ASSERT_EQ(Bound()->QueryCameraControl(cameraControl), kS_OK);

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
