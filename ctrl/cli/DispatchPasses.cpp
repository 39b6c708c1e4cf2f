// The dispatcher's passes and modes.
#include "ctrl/cli/DispatchPasses.h"

#include <cstdio>

#include "ctrl/common/Text.h"
#include "platform/TextBasics.h"

namespace kv::ctrl {

namespace {

constexpr int kBlackBarSensor = 0x5D;
constexpr unsigned kSensorPauseMs = 50;
constexpr unsigned kSettlePauseMs = 200;
constexpr unsigned kCameraPauseMs = 250;
constexpr int kDirectUsbProduct = 0x9B0;

bool IsBlackBarFamily(int productId) { return productId >= 0x840 && productId <= 0x848; }

// Counts the 09b0 cameras, and notes when a product id sorts below the one
// before it (both texts taken where "pid_" stands in the later entry).
void OrderPrePass(const CameraTable& table, DispatchCounters& counters) {
    for (int j = 0; j < table.nCamCount(); ++j) {
        const std::string& instance = table.at(j).strInstance;
        if (FoundAfterStart(instance, "pid_09b0", 1)) ++counters.m_n09b0Count;
        if (j == 0) continue;
        const int at = Find(instance, "pid_") + 4;
        if (Mid(instance, at, 4) < Mid(table.at(j - 1).strInstance, at, 4)) counters.m_bPidReversed = 1;
    }
}

// The 0x840-0x848 sensor at 0x5D starts with a black bar unless register 1
// is set; this runs for every such camera whatever the command selects.
void BlackBarPrePass(const CameraTable& table, DispatchTarget& target) {
    for (int k = 0; k < table.nCamCount(); ++k) {
        const std::string sPid = PidText(table.at(k).strInstance);
        target.Log(sPid);
        const int productId = ProductIdFromPidText(sPid);
        if (!IsBlackBarFamily(productId)) continue;
        std::uint16_t value1 = 4;
        std::uint16_t value3 = 0x402;
        if (target.Device_Init(kKorvexVendorId, productId, table.at(k).strPathTail)) {
            target.Sensor_Write(kBlackBarSensor, 0xF0, 0, 2);
            target.Sleep(kSensorPauseMs);
            target.Sensor_Read(kBlackBarSensor, 1, &value1, 2);
            target.Sleep(kSensorPauseMs);
            target.Sensor_Read(kBlackBarSensor, 3, &value3, 2);
            target.Sleep(kSensorPauseMs);
            if (value1 < 0x1D || value1 > 0x1F)
                target.Sensor_Write(kBlackBarSensor, 1, value3 == 0x40C ? 0x20 : 0x1E, 2);
        }
        target.Log("Reduce Blackbar");
    }
}

// The per-model operations the command runs on each camera it reaches.
ModelOperations OperationsOf(const ParsedCommand& command) {
    ModelOperations operations;
    operations.led1On = command.strOn == "1";
    operations.led2On = command.strOn == "2";
    operations.ledOff = command.strAE.empty() && command.strOff == "off";
    operations.antiFlicker60 = command.antiFlicker60Pos >= 1;
    operations.antiFlicker50 = command.antiFlicker50Pos >= 1;
    operations.antiFlickerOff = command.antiFlickerOffPos >= 1;
    operations.init = command.initPos >= 1;
    operations.autoExposureOn = command.strAE == "on";
    operations.autoExposureOff = command.strAE == "off";
    operations.exposureValue = !command.strEVPara.empty();
    operations.saveSettings = !command.strSave.empty();
    operations.loadSettings = !command.strLoad.empty();
    return operations;
}

void AntiFlicker(const ParsedCommand& command, int productId, int dev, DispatchTarget& target) {
    if (command.antiFlicker60Pos >= 1) target.SetAntiFlickerByModel(productId, 1, dev);
    if (command.antiFlicker50Pos >= 1) target.SetAntiFlickerByModel(productId, 2, dev);
    if (command.antiFlickerOffPos >= 1) target.SetAntiFlickerByModel(productId, 0, dev);
}

void LoadExposure(int dev, int productId, DispatchTarget& target) {
    target.SetAutoExposureByModel(1, productId, dev);
    target.Sleep(kCameraPauseMs);
    target.LoadExposureSettings(dev, productId);
    target.Sleep(kCameraPauseMs);
    target.SetAutoExposureByModel(0, productId, dev);
}

void AllCameras(const ParsedCommand& command, const CameraTable& table, DispatchTarget& target,
                DispatchCounters& counters) {
    target.Log("nCamNum==0");
    const ModelOperations operations = OperationsOf(command);
    std::string strOut;
    for (int p = 0; p < table.nCamCount(); ++p) {
        const CameraEntry& entry = table.at(p);
        const std::string sPid = PidText(entry.strInstance);
        const int productId = ProductIdFromPidText(sPid);
        target.Log("Pid Correct!!");
        target.SetWindowHandle(0);
        target.Log("m_pDxWnd->SetWindowHandle(0)");
        counters.ii = p;
        if (productId < 0x870 || productId == 0x950) ++counters.m_notzelmar;
        target.Log(platform::FormatText("ii=%d,m_notzelmar=%d", p, counters.m_notzelmar));
        if (target.LacksOnThisPlatform(p + 1, productId, operations, false)) continue;
        if (!target.Device_Init(kKorvexVendorId, productId, entry.strPathTail)) continue;
        if (target.LacksOnThisPlatform(p + 1, productId, operations, true)) continue;
        const int dev = p - counters.m_notzelmar;
        if (productId == kDirectUsbProduct) {
            // This model is reached only through the direct USB path, which
            // otherwise opens only for a camera selected with -CAMn.
            counters.m_strSelDevice = entry.strInstance;
            target.OpenDirectUsbDevice();
        }
        AntiFlicker(command, productId, dev, target);
        if (command.nFlcSwitch >= 1) target.SetFlcSwitch(dev, productId, command.nFlcSwitch);
        if (command.nFlcLevel >= 1) target.SetFlcLevel(dev, productId, command.nFlcLevel);
        if (command.initPos >= 1) target.InitByModel(productId, dev);
        if (command.strOn == "1") {
            target.TurnLed1OnByModel(productId);
            target.Log("Led1On");
        }
        if (command.strOn == "2") {
            target.TurnLed2OnByModel(productId);
            target.Log("Led2On");
        }
        if (command.strAE.empty() && command.strOff == "off") {
            target.TurnLedOffByModel(productId);
            target.Log("Led Off");
        }
        target.Sleep(kCameraPauseMs);
        strOut += " " + std::to_string(p) + "." + entry.strInstance + "\n";
        if (command.strAE == "on" || command.strAE == "off") {
            const bool on = command.strAE == "on";
            target.SetAutoExposureByModel(on ? 1 : 0, productId, dev);
            target.Log(on ? "AE On" : "AE Off");
        }
        if (!command.strEVPara.empty()) {
            target.SetExposureValueByModel(DecimalPrefix(command.strEVPara), dev, productId);
            target.Log("SetExposureValue");
        }
        if (!command.strSave.empty()) target.SaveExposureSettings(dev, productId);
        if (!command.strLoad.empty()) LoadExposure(dev, productId, target);
        target.Log("All Korvex control. sPid:" + sPid + " strOn:" + command.strOn);
        target.Log("strOut:" + strOut + " strEVPara:" + command.strEVPara);
    }
}

// Counts the whole table (and opens the direct USB device once per 09b0
// camera when the selected camera is one); then W, the swap flag.
int ScanForSingleCamera(const CameraTable& table, int s, DispatchTarget& target, DispatchCounters& counters) {
    for (int j = 0; j < table.nCamCount(); ++j) {
        const std::string sPid = PidText(table.at(j).strInstance);
        const int productId = ProductIdFromPidText(sPid);
        target.Log("Pid Correct!!");
        target.SetWindowHandle(0);
        target.Log("m_pDxWnd->SetWindowHandle(0)");
        counters.ii = j;
        if (productId < 0x870 || productId > 0x9BF) ++counters.m_notzelmar;
        counters.m_strSelDevice = table.at(s).strInstance;
        if (sPid == "09b0" && PidText(counters.m_strSelDevice) == "09b0") target.OpenDirectUsbDevice();
    }
    const bool swapped = table.nCamCount() >= 2 && PidText(table.at(0).strInstance) < "0870" &&
                         PidText(table.at(1).strInstance) > "0870";
    return swapped ? 1 : 0;
}

void SingleCamera(const ParsedCommand& command, const CameraTable& table, DispatchTarget& target,
                  DispatchCounters& counters) {
    const int s = command.nCamNum - 1;
    const int w = ScanForSingleCamera(table, s, target, counters);
    const std::string sPid = PidText(table.at(s).strInstance);
    const int productId = ProductIdFromPidText(sPid);
    target.SetWindowHandle(0);
    const ModelOperations operations = OperationsOf(command);
    if (target.LacksOnThisPlatform(s + 1, productId, operations, false)) return;
    target.Device_Init(kKorvexVendorId, productId, table.at(s).strPathTail);
    if (target.LacksOnThisPlatform(s + 1, productId, operations, true)) return;
    counters.ii = s;
    target.Log(platform::FormatText("ii=%d,m_notzelmar=%d", counters.ii, counters.m_notzelmar));

    const int n = counters.m_notzelmar;
    const int k = counters.m_n09b0Count;
    const bool reversed = counters.m_bPidReversed == 1;
    const bool family = productId < 0x9B0;
    auto adjustForLed = [&] {
        if (family && reversed) counters.ii = n - k + s;
    };
    if (command.strOn == "1") {
        adjustForLed();
        target.TurnLed1OnByModel(productId);
        target.Log("Led1On");
    }
    if (command.strOn == "2") {
        adjustForLed();
        target.TurnLed2OnByModel(productId);
        target.Log("Led2On");
    }
    if (command.strAE.empty() && command.strOff == "off") {
        adjustForLed();
        target.TurnLedOffByModel(productId);
        target.Log("Led Off");
    }
    const int ii = counters.ii;
    const int familyDev = reversed ? ii - k : ii - n;
    // Anti-flicker and INIT address the camera by the same library index as
    // auto exposure: the camera's position alone would name another camera
    // whenever one outside the library's family stands before it.
    const int aeDev = family ? familyDev : ii;
    AntiFlicker(command, productId, aeDev, target);
    const int flcDev = s - (reversed ? k : 0) - w;
    if (command.nFlcSwitch >= 1) target.SetFlcSwitch(flcDev, productId, command.nFlcSwitch);
    if (command.nFlcLevel >= 1) target.SetFlcLevel(flcDev, productId, command.nFlcLevel);
    if (command.initPos >= 1) target.InitByModel(productId, aeDev);
    if (command.strAE == "on" || command.strAE == "off") {
        const bool on = command.strAE == "on";
        target.SetAutoExposureByModel(on ? 1 : 0, productId, aeDev);
        target.Sleep(kSettlePauseMs);
        target.Log(on ? "SetAE On" : "SetAE Off");
    }
    if (!command.strEVPara.empty()) {
        target.SetExposureValueByModel(DecimalPrefix(command.strEVPara), family ? familyDev : ii - w, productId);
        if (family && reversed) target.Log("SetExposureValue");
        target.Sleep(kSettlePauseMs);
        target.Log("SetExposureValue");
    }
    const int settingsDev = ii - (reversed ? k : 0) - n;
    if (!command.strSave.empty()) target.SaveExposureSettings(settingsDev, productId);
    if (!command.strLoad.empty()) LoadExposure(settingsDev, productId, target);
}

}  // namespace

void DispatchCommand(const ParsedCommand& command, const CameraTable& table, DispatchTarget& target,
                     DispatchCounters& counters) {
    OrderPrePass(table, counters);
    BlackBarPrePass(table, target);
    if (command.nCamNum == 0) {
        AllCameras(command, table, target, counters);
        return;
    }
    if (command.nCamNum > table.nCamCount()) {
        // No such camera: no command goes to any other one instead.
        const int count = table.nCamCount();
        target.Print("-CAM" + std::to_string(command.nCamNum) + ": there is no camera " +
                     std::to_string(command.nCamNum) + "; " + std::to_string(count) +
                     (count == 1 ? " camera is" : " cameras are") + " connected.");
        return;
    }
    SingleCamera(command, table, target, counters);
}

}  // namespace kv::ctrl
