// kvsimcam.dll's capture filters, bound through the real device monikers:
// which device they stand for, the interfaces each offers, and requests that
// reach the model through each interface.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "platform/win32/ComValues.h"
#include "platform/win32/KsInterfaces.h"
#include "sim/win32/SimIds.h"
#include "tests/sim/win32/InstalledRig.h"

namespace kv::sim::win32::test {
namespace {

const char* const kFilterRig = R"({"devices":[
  {"friendlyName":"Bridge","productId":"0x0840","extensionUnits":{"bridge":{"node":1}},
   "faults":[{"path":"bridge-xu","op":"get","effect":"hang","ms":400}]},
  {"friendlyName":"Lacking","productId":"0x0870","extensionUnits":{"plugin":{"node":2}},
   "missingInterfaces":["IKsPropertySet","IAMCameraControl"]},
  {"friendlyName":"Broken","productId":"0x0610","bindFails":true},
  {"friendlyName":"Driver","productId":"0x0610","driverProperties":{"29":1}}
]})";

// {D80AF729-7C23-4E10-BC5F-1D8C157F96E3}
constexpr GUID kDriverSet = {0xD80AF729, 0x7C23, 0x4E10, {0xBC, 0x5F, 0x1D, 0x8C, 0x15, 0x7F, 0x96, 0xE3}};
// {28F03370-6311-4A2E-BA2C-6890EB334016}
constexpr GUID kBridgeSet = {0x28F03370, 0x6311, 0x4A2E, {0xBA, 0x2C, 0x68, 0x90, 0xEB, 0x33, 0x40, 0x16}};

struct KspNode {
    GUID set;
    ULONG id;
    ULONG flags;
    ULONG node;
    ULONG reserved;
};

class SimCaptureFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(installed.installed) << installed.error;
        ASSERT_EQ(ListVideoInputs(devices), S_OK);
        ASSERT_EQ(devices.size(), 4u);
    }
    ComPtr<IBaseFilter> Bound(std::size_t index) {
        ComPtr<IBaseFilter> filter;
        const HRESULT hr = BindFilter(devices[index], filter);
        EXPECT_EQ(hr, S_OK) << "device " << index;
        return filter;
    }
    template <class Interface>
    HRESULT Query(const ComPtr<IBaseFilter>& filter, REFIID iid, ComPtr<Interface>& out) {
        return filter->QueryInterface(iid, reinterpret_cast<void**>(out.ReleaseAndGetAddressOf()));
    }

    ComApartment com;
    InstalledRig installed{kFilterRig};
    std::vector<ListedDevice> devices;
};

TEST_F(SimCaptureFilterTest, ADeviceThatFailsToBindFailsBindToObject) {
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(BindFilter(devices[2], filter), kHrBindFails) << "the code the host's simulated binding answers";
    EXPECT_EQ(filter, nullptr);
    EXPECT_NE(Bound(3), nullptr);
}

TEST_F(SimCaptureFilterTest, MissingInterfacesAnswerNoInterface) {
    const auto full = Bound(0);
    const auto lacking = Bound(1);
    ASSERT_TRUE(full && lacking);
    ComPtr<IUnknown> face;
    for (const GUID* iid : {&kv::win::kIID_IKsControl, &IID_IKsPropertySet, &kv::win::kIID_IKsTopologyInfo,
                            &IID_IAMVideoProcAmp, &IID_IAMCameraControl}) {
        EXPECT_EQ(Query(full, *iid, face), S_OK);
    }
    EXPECT_EQ(Query(lacking, IID_IKsPropertySet, face), E_NOINTERFACE);
    EXPECT_EQ(Query(lacking, IID_IAMCameraControl, face), E_NOINTERFACE);
    EXPECT_EQ(Query(lacking, kv::win::kIID_IKsControl, face), S_OK);
    EXPECT_EQ(Query(lacking, IID_IAMVideoProcAmp, face), S_OK);
    // The faces share the filter's identity.
    ComPtr<IUnknown> identity;
    ComPtr<IUnknown> viaFace;
    ASSERT_EQ(Query(lacking, IID_IUnknown, identity), S_OK);
    ASSERT_EQ(face->QueryInterface(IID_PPV_ARGS(&viaFace)), S_OK);
    EXPECT_EQ(identity.Get(), viaFace.Get());
}

TEST_F(SimCaptureFilterTest, KsPropertyReachesTheBoundDeviceAndItsHangDelaysOnlyTheCaller) {
    const auto filter = Bound(0);
    ComPtr<kv::win::IKsControl> control;
    ASSERT_EQ(Query(filter, kv::win::kIID_IKsControl, control), S_OK);
    KspNode set{kBridgeSet, 1, 0x10000002, 1, 0};
    BYTE write[4] = {0x06, 0x10, 0x5A, 0x00};
    ULONG returned = 0;
    ASSERT_EQ(control->KsProperty(&set, sizeof set, write, 4, &returned), S_OK);
    BYTE latch[4] = {0x06, 0x10, 0x00, 0xFF};
    ASSERT_EQ(control->KsProperty(&set, sizeof set, latch, 4, &returned), S_OK);

    using Clock = std::chrono::steady_clock;
    KspNode get{kBridgeSet, 1, 0x10000001, 1, 0};
    BYTE reply[4] = {};
    HRESULT got = E_FAIL;
    Clock::duration hungFor{};
    std::thread reader([&] {
        const auto start = Clock::now();
        got = control->KsProperty(&get, sizeof get, reply, 4, &returned);
        hungFor = Clock::now() - start;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = Clock::now();
    BYTE other[4] = {0x07, 0x10, 0x01, 0x00};
    EXPECT_EQ(control->KsProperty(&set, sizeof set, other, 4, &returned), S_OK);
    const auto otherCall = Clock::now() - start;
    reader.join();
    EXPECT_EQ(got, S_OK);
    EXPECT_EQ(reply[2], 0x5A);
    EXPECT_GE(hungFor, std::chrono::milliseconds(400));
    EXPECT_LT(otherCall, std::chrono::milliseconds(250));

    const auto state = DumpState(installed.rig);
    EXPECT_EQ(BridgeRegister(state, 0, "0x1006"), 0x5A);
    const auto trace = TraceLines(installed.rig);
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace[0]["camera"], 0);
    EXPECT_EQ(trace[0]["path"], "bridge-xu");
    EXPECT_EQ(trace[0]["data"], "06 10 5A 00");
}

TEST_F(SimCaptureFilterTest, DriverPropertiesThroughIKsPropertySetSet) {
    const auto filter = Bound(3);
    ComPtr<IKsPropertySet> properties;
    ASSERT_EQ(Query(filter, IID_IKsPropertySet, properties), S_OK);
    DWORD support = 0;
    EXPECT_EQ(properties->QuerySupported(kDriverSet, 29, &support), S_OK);
    EXPECT_EQ(support, 2u) << "set only";
    // The block the camera object sends: set, id, 2 (set), value.
    BYTE block[40] = {};
    std::memcpy(block, &kDriverSet, sizeof kDriverSet);
    block[16] = 29;
    block[20] = 2;
    DWORD returned = 0;
    EXPECT_TRUE(FAILED(properties->Get(kDriverSet, 29, block, 40, block, 40, &returned))) << "write-only";
    EXPECT_EQ(properties->Set(kDriverSet, 29, block, 40, block, 40), S_OK);
    EXPECT_EQ(DumpState(installed.rig)["devices"][3]["driverProperties"]["29"], 0);
    block[24] = 2;
    EXPECT_TRUE(FAILED(properties->Set(kDriverSet, 29, block, 36, block, 36))) << "short block";
    EXPECT_TRUE(FAILED(properties->Set(kDriverSet, 29, nullptr, 0, block, 40))) << "no instance";
    EXPECT_EQ(DumpState(installed.rig)["devices"][3]["driverProperties"]["29"], 0);
    block[16] = 30;
    EXPECT_TRUE(FAILED(properties->Set(kDriverSet, 30, block, 40, block, 40)));  // not the rig's
}

TEST_F(SimCaptureFilterTest, VideoProcAmpAndCameraControlAreSeparateProperties) {
    const auto filter = Bound(0);
    ComPtr<IAMVideoProcAmp> procAmp;
    ComPtr<IAMCameraControl> cameraControl;
    ASSERT_EQ(Query(filter, IID_IAMVideoProcAmp, procAmp), S_OK);
    ASSERT_EQ(Query(filter, IID_IAMCameraControl, cameraControl), S_OK);
    long minimum = 0, maximum = 0, step = 0, def = 0, caps = 0;
    ASSERT_EQ(procAmp->GetRange(VideoProcAmp_Brightness, &minimum, &maximum, &step, &def, &caps), S_OK);
    EXPECT_EQ(minimum, -64);
    EXPECT_EQ(maximum, 64);
    ASSERT_EQ(cameraControl->GetRange(CameraControl_Exposure, &minimum, &maximum, &step, &def, &caps), S_OK);
    EXPECT_EQ(minimum, -13);
    EXPECT_EQ(maximum, -1);

    EXPECT_EQ(procAmp->Set(VideoProcAmp_Brightness, 10, VideoProcAmp_Flags_Manual), S_OK);
    EXPECT_EQ(procAmp->Set(VideoProcAmp_Brightness, 100, VideoProcAmp_Flags_Manual), E_INVALIDARG);
    long value = 0;
    long flags = 0;
    ASSERT_EQ(procAmp->Get(VideoProcAmp_Brightness, &value, &flags), S_OK);
    EXPECT_EQ(value, 10);
    const auto state = DumpState(installed.rig)["devices"][0];
    EXPECT_EQ(state["videoProcAmp"]["0"]["value"], 10);
    EXPECT_TRUE(state["cameraControl"].empty());
}

TEST_F(SimCaptureFilterTest, TopologyComesFromTheRig) {
    const auto filter = Bound(1);  // plug-in unit at node 2
    ComPtr<kv::win::IKsTopologyInfo> topology;
    ASSERT_EQ(Query(filter, kv::win::kIID_IKsTopologyInfo, topology), S_OK);
    DWORD nodes = 0;
    ASSERT_EQ(topology->get_NumNodes(&nodes), S_OK);
    EXPECT_EQ(nodes, 3u);
    GUID type{};
    // KSNODETYPE_DEV_SPECIFIC
    const GUID devSpecific = {0x941C7AC0, 0xC559, 0x11D0, {0x8A, 0x2B, 0x00, 0xA0, 0xC9, 0x25, 0x5A, 0xC1}};
    ASSERT_EQ(topology->get_NodeType(2, &type), S_OK);
    EXPECT_EQ(type, devSpecific);
    ASSERT_EQ(topology->get_NodeType(0, &type), S_OK);
    EXPECT_NE(type, devSpecific);
    EXPECT_EQ(topology->get_NodeType(3, &type), E_INVALIDARG);
    WCHAR name[32];
    DWORD length = 0;
    EXPECT_EQ(topology->get_NodeName(2, nullptr, 0, &length), HRESULT_FROM_WIN32(ERROR_MORE_DATA));
    ASSERT_EQ(topology->get_NodeName(2, name, sizeof name, &length), S_OK);
    EXPECT_STREQ(name, L"Extension Unit");
    EXPECT_EQ(length, sizeof(L"Extension Unit"));
}

// Without the device moniker's property bag a filter stands for no device.
TEST_F(SimCaptureFilterTest, AFilterMadeDirectlyIsUnboundUntilLoaded) {
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(CoCreateInstance(kClsidSimCamera, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)), S_OK);
    ComPtr<kv::win::IKsControl> control;
    EXPECT_EQ(Query(filter, kv::win::kIID_IKsControl, control), E_NOINTERFACE);

    // A property bag naming a device the rig does not have refuses the load,
    // and the filter then offers nothing to use.
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(Query(filter, IID_IPersistPropertyBag, persist), S_OK);
    ComPtr<IPropertyBag> bag;
    ASSERT_EQ(devices[0].moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)), S_OK);
    platform::win32::Variant index;
    index.SetLong(42);
    ASSERT_EQ(bag->Write(kDeviceIndexProperty, index.get()), S_OK);
    EXPECT_TRUE(FAILED(persist->Load(bag.Get(), nullptr)));
    ComPtr<IBaseFilter> again;
    EXPECT_EQ(Query(filter, IID_IBaseFilter, again), E_NOINTERFACE);
}

TEST_F(SimCaptureFilterTest, JoinsARealFilterGraph) {
    const auto filter = Bound(0);
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)), S_OK);
    ASSERT_EQ(graph->AddFilter(filter.Get(), L"Camera"), S_OK);
    FILTER_INFO info{};
    ASSERT_EQ(filter->QueryFilterInfo(&info), S_OK);
    EXPECT_STREQ(info.achName, L"Camera");
    EXPECT_NE(info.pGraph, nullptr);
    if (info.pGraph != nullptr) info.pGraph->Release();
    EXPECT_EQ(graph->RemoveFilter(filter.Get()), S_OK);
}

// Every object the server handed out is gone once its users let go.
TEST_F(SimCaptureFilterTest, ReleasedFiltersLeaveTheServerUnused) {
    {
        auto filter = Bound(0);
        ComPtr<IAMCameraControl> cameraControl;
        ComPtr<kv::win::IKsTopologyInfo> topology;
        ComPtr<IEnumPins> pins;
        ASSERT_EQ(Query(filter, IID_IAMCameraControl, cameraControl), S_OK);
        ASSERT_EQ(Query(filter, kv::win::kIID_IKsTopologyInfo, topology), S_OK);
        ASSERT_EQ(filter->EnumPins(&pins), S_OK);
        ComPtr<IUnknown> node;
        EXPECT_TRUE(
            FAILED(topology->CreateNodeInstance(1, IID_IUnknown, reinterpret_cast<void**>(node.GetAddressOf()))));
    }
    const HMODULE server = GetModuleHandleW(L"kvsimcam.dll");
    ASSERT_NE(server, nullptr);
    const auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow")));
    ASSERT_NE(canUnload, nullptr);
    EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(SimCaptureFilterTest, TheRecordedRigServesWhenTheEnvironmentNamesNone) {
    const RigVariable unset(std::nullopt);
    const auto filter = Bound(0);
    ComPtr<IAMVideoProcAmp> procAmp;
    ASSERT_EQ(Query(filter, IID_IAMVideoProcAmp, procAmp), S_OK);
    EXPECT_EQ(procAmp->Set(VideoProcAmp_Contrast, 40, VideoProcAmp_Flags_Manual), S_OK);
    EXPECT_EQ(DumpState(installed.rig)["devices"][0]["videoProcAmp"]["1"]["value"], 40);
}

}  // namespace
}  // namespace kv::sim::win32::test
