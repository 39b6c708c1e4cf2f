// A camera object on fake ports with its own filter pair, and the devices a
// test binds it to.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ctrl/camera/DxWnd.h"
#include "tests/fakes/FakeFilters.h"
#include "tests/fakes/FakePorts.h"

namespace kv::test {

inline constexpr const char* kDocs = "C:\\Users\\Public\\Documents";

class CameraTest : public ::testing::Test {
protected:
    // Another maker's webcam keeps the category from being empty.
    CameraTest() {
        fakes.files.AddDirectoryTree(kDocs);
        fakes.captureDevices.AddDevice("\\\\?\\usb#vid_046d&pid_0825&mi_00#6&1234&0&0000#{65e8773d}\\global");
    }

    // A device path of the usual shape: prefix, vendor and product ids, instance.
    static std::string PathOf(int productId, const std::string& instance) {
        char ids[32];
        std::snprintf(ids, sizeof ids, "vid_a168&pid_%04x", productId);
        return std::string("\\\\?\\usb#") + ids + "&mi_00#" + instance +
               "#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
    }
    // What the dispatcher passes: the lower-cased path from its 22nd character.
    static std::string KeyOf(int productId, const std::string& instance) {
        std::string path = PathOf(productId, instance);
        for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return path.substr(21);
    }
    std::shared_ptr<FakeFilter> AddCamera(int productId, const std::string& instance) {
        auto filter = std::make_shared<FakeFilter>();
        fakes.captureDevices.AddDevice(PathOf(productId, instance), filter);
        return filter;
    }
    // Binds a camera and forgets the requests the binding made.
    std::shared_ptr<FakeFilter> BindCamera(int productId = 0x840) {
        auto filter = AddCamera(productId, "7&1a2b3c4d&0&0000");
        EXPECT_EQ(camera.Device_Init(0xA168, productId, KeyOf(productId, "7&1a2b3c4d&0&0000")), 1);
        return filter;
    }
    // The texts of the log file's time-stamped lines, in order.
    std::vector<std::string> LoggedTexts() const {
        std::vector<std::string> texts;
        const auto found = fakes.files.files.find(std::string(kDocs) + "\\KV_DS_Ctrl\\Log\\KV_DS_LOG.txt");
        if (found == fakes.files.files.end()) return texts;
        for (const std::string& line : SplitLines(found->second.content)) {
            const auto tab = line.find('\t');
            if (tab != std::string::npos) texts.push_back(line.substr(tab + 1));
        }
        return texts;
    }

    FakePorts fakes;
    ctrl::FilterPair pair;
    ctrl::KeptLibraries kept;
    ctrl::CDxWnd camera{fakes.ports, pair, kept};
};

// A camera bound to a simulated bridge, with the requests of the binding
// forgotten.
class BridgeTest : public CameraTest {
protected:
    void SetUp() override {
        filter = BindCamera();
        bridge = filter->ksControl.get();
        bridge->requests.clear();
    }
    std::shared_ptr<FakeFilter> filter;
    BridgeKsControl* bridge = nullptr;
};

}  // namespace kv::test
