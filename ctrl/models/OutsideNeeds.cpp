// The model tables run against a recorder of what they reach.
#include "ctrl/models/OutsideNeeds.h"

#include <utility>

#include "ctrl/camera/ClientPropertyPageLib.h"
#include "ctrl/camera/SmiUtilityLibrary.h"
#include "ctrl/models/ExposureSettingsTable.h"
#include "ctrl/models/ModelRoutines.h"
#include "platform/TextBasics.h"

namespace kv::ctrl {

namespace {

// Does nothing; reads answer as a failed read does.
class NeedsRecorder : public CameraOps {
public:
    unsigned needs = kNeedsNothing;

    int R78(int) override { return 0; }
    void W78(int, int) override {}
    int R48(int) override { return 0; }
    void W48(int, int) override {}
    int UR(int) override { return 0; }
    void U(int, int) override {}
    int SR(int, int, int) override { return 0; }
    void S(int, int, unsigned, int) override {}
    bool BridgeRead(int, int&) override { return false; }
    void BridgeWrite(int, int) override {}
    void SMI(int, int) override { needs |= kNeedsSmiUtility; }
    void SMIX(int, int) override { needs |= kNeedsSmiUtility; }
    void P(int, int) override { needs |= kNeedsDriverPropertySet; }
    void Pause(unsigned) override {}
    void LedGpio(GpioLed, int) override {}
    void LedLibrary(LibraryLed library, int) override {
        needs |= library == LibraryLed::AsicLib ? kNeedsClientPropertyPageLib : kNeedsSmiUtility;
    }
    void LedKsProp(int, int) override { needs |= kNeedsDriverPropertySet; }
    void LedBridge(BridgeLed, int) override {}
    bool WriteFlcRegister(int, int) override { return false; }
    int ExtendedWrite(const std::array<std::uint8_t, 32>&) override { return 0; }
    void SelectI2cPort() override {}
    int I2cReadByte(int, std::uint8_t, std::uint8_t) override { return 0; }
    bool I2cWriteByte(int, std::uint8_t) override { return false; }
};

constexpr std::pair<OutsideNeed, const char*> kLibraries[] = {
    {kNeedsSmiUtility, SmiUtilityLibrary::kLibraryName},
    {kNeedsClientPropertyPageLib, ClientPropertyPageLib::kLibraryName},
};

bool InSmiFamily(int productId) { return productId >= 0x810 && productId <= 0x813; }

bool SettingsNeedSmi(int productId) {
    const ExposureRow* row = FindExposureRow(productId);
    return row && row->path == ExposurePath::Smi;
}

}  // namespace

unsigned OutsideNeedsOf(int productId, const ModelOperations& operations) {
    NeedsRecorder recorder;
    if (InSmiFamily(productId)) recorder.needs |= kNeedsSmiUtility;
    if (operations.led1On) TurnLed1OnByModel(productId, recorder, nullptr);
    if (operations.led2On) TurnLed2OnByModel(productId, recorder, nullptr);
    if (operations.ledOff) TurnLedOffByModel(productId, recorder, nullptr);
    if (operations.antiFlicker60) SetAntiFlickerByModel(productId, recorder, 1);
    if (operations.antiFlicker50) SetAntiFlickerByModel(productId, recorder, 2);
    if (operations.antiFlickerOff) SetAntiFlickerByModel(productId, recorder, 0);
    if (operations.init) InitByModel(productId, recorder);
    if (operations.autoExposureOn || operations.loadSettings) SetAutoExposureByModel(1, productId, recorder);
    if (operations.autoExposureOff || operations.loadSettings) SetAutoExposureByModel(0, productId, recorder);
    if (operations.exposureValue) SetExposureValueByModel(0, productId, recorder);
    if ((operations.saveSettings || operations.loadSettings) && SettingsNeedSmi(productId)) {
        recorder.needs |= kNeedsSmiUtility;
    }
    return recorder.needs;
}

OutsideNeed UnloadableLibrary(unsigned needs, platform::Modules& modules) {
    for (const auto& [need, library] : kLibraries) {
        if ((needs & need) != 0 && !modules.CanExist(library)) return need;
    }
    return kNeedsNothing;
}

std::string UnmetNeedLine(int cameraNumber, int productId, OutsideNeed need) {
    std::string what = "the camera driver's own property set, which only the Windows driver has";
    for (const auto& [libraryNeed, library] : kLibraries) {
        if (need == libraryNeed) what = std::string(library) + ", a Windows library that cannot be loaded here";
    }
    return platform::FormatText("-CAM%d (model %04x): needs %s; nothing was done on this camera.", cameraNumber,
                                static_cast<unsigned>(productId), what.c_str());
}

}  // namespace kv::ctrl
