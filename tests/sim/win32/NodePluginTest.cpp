// CreateNodeInstance as the kernel-streaming proxy does it: the plug-in
// registered under NodeInterfaces for the node's property set is created
// aggregated, told its node and the filter's control, and answers the
// requested interface. The plug-in here is a test class registered in this
// process.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "platform/win32/KsInterfaces.h"
#include "sim/win32/KsNodeControl.h"
#include "platform/win32/Win32Adapters.h"
#include "sim/win32/SimIds.h"
#include "tests/sim/win32/InstalledRig.h"

namespace kv::sim::win32::test {
namespace {

// {8D5C1E2A-7B36-4F0E-9A41-3C2B6E7D1F05}
constexpr CLSID kClsidTestPlugin = {0x8D5C1E2A, 0x7B36, 0x4F0E, {0x9A, 0x41, 0x3C, 0x2B, 0x6E, 0x7D, 0x1F, 0x05}};
// {2F6A9C31-4D8B-4E7A-B1C5-7A0D3E9F6B42}
constexpr IID kIidProbe = {0x2F6A9C31, 0x4D8B, 0x4E7A, {0xB1, 0xC5, 0x7A, 0x0D, 0x3E, 0x9F, 0x6B, 0x42}};
constexpr const wchar_t* kPluginSetKey =
    L"SYSTEM\\CurrentControlSet\\Control\\NodeInterfaces\\{5A215226-3289-4156-894A-5C557CDF9664}";

struct IProbe : public IUnknown {
    virtual IUnknown* STDMETHODCALLTYPE Outer() = 0;
};

// What the plug-ins were told, and how many are alive.
struct Seen {
    std::atomic<int> alive{0};
    IUnknown* outer = nullptr;
    DWORD node = 0xFFFFFFFF;
    ComPtr<kv::win::IKsControl> control;
    HRESULT putControlAnswer = S_OK;
};
Seen g_seen;

class TestPlugin final : public IUnknown {
public:
    explicit TestPlugin(IUnknown* outer) : outer_(outer != nullptr ? outer : this), faces_(*this) { ++g_seen.alive; }
    ~TestPlugin() { --g_seen.alive; }
    TestPlugin(const TestPlugin&) = delete;
    TestPlugin& operator=(const TestPlugin&) = delete;

    // The non-delegating unknown.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(this);
        } else if (iid == kIidKsNodeControl) {
            *out = static_cast<IKsNodeControl*>(&faces_);
        } else if (iid == kIidProbe) {
            *out = static_cast<IProbe*>(&faces_);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        static_cast<IUnknown*>(*out)->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    // The faces delegate to the controlling unknown, as an aggregated object's must.
    struct Faces final : public IKsNodeControl, public IProbe {
        explicit Faces(TestPlugin& plugin) : owner(plugin) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
            return owner.outer_->QueryInterface(iid, out);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return owner.outer_->AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return owner.outer_->Release(); }
        HRESULT STDMETHODCALLTYPE put_NodeId(DWORD node) override {
            g_seen.node = node;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE put_KsControl(PVOID control) override {
            if (FAILED(g_seen.putControlAnswer)) return g_seen.putControlAnswer;
            return static_cast<IUnknown*>(control)->QueryInterface(
                kv::win::kIID_IKsControl, reinterpret_cast<void**>(g_seen.control.ReleaseAndGetAddressOf()));
        }
        IUnknown* STDMETHODCALLTYPE Outer() override { return owner.outer_; }
        TestPlugin& owner;
    };

    std::atomic<ULONG> refs_{1};
    IUnknown* outer_;
    Faces faces_;
};

class TestPluginFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = (iid == IID_IUnknown || iid == IID_IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
        return *out != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (outer != nullptr && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
        g_seen.outer = outer;
        auto* plugin = new TestPlugin(outer);
        const HRESULT hr = plugin->QueryInterface(iid, out);
        plugin->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

class NodePluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(installed.installed) << installed.error;
        ASSERT_EQ(CoRegisterClassObject(kClsidTestPlugin, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
                  S_OK);
        RegisterPlugin();
        std::vector<ListedDevice> devices;
        ASSERT_EQ(ListVideoInputs(devices), S_OK);
        ASSERT_EQ(BindFilter(devices[0], filter), S_OK);
        ASSERT_EQ(
            filter->QueryInterface(kv::win::kIID_IKsTopologyInfo, reinterpret_cast<void**>(topology.GetAddressOf())),
            S_OK);
        g_seen.outer = nullptr;
        g_seen.node = 0xFFFFFFFF;
        g_seen.putControlAnswer = S_OK;
    }
    void TearDown() override {
        g_seen.control.Reset();
        CoRevokeClassObject(cookie);
        RemoveRegistryKey(platform::RegistryRoot::LocalMachine, kPluginSetKey);
    }
    static void RegisterPlugin() {
        platform::win32::Win32Registry registry;
        std::unique_ptr<platform::RegistryKey> key;
        ASSERT_EQ(registry.CreateKey(platform::RegistryRoot::LocalMachine, kPluginSetKey,
                                     platform::RegistryAccess::ReadWrite, key, nullptr),
                  ERROR_SUCCESS);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&kClsidTestPlugin);
        ASSERT_EQ(key->SetBinary(L"CLSID", {bytes, sizeof kClsidTestPlugin}), ERROR_SUCCESS);
    }

    ComApartment com;
    InstalledRig installed{
        R"({"devices":[{"productId":"0x0870","extensionUnits":{"plugin":{"node":2},"bridge":{"node":1}}}]})"};
    TestPluginFactory factory;
    DWORD cookie = 0;
    ComPtr<IBaseFilter> filter;
    ComPtr<kv::win::IKsTopologyInfo> topology;
};

TEST_F(NodePluginTest, ThePluginIsAggregatedAndGetsItsNodeAndTheFiltersControl) {
    ComPtr<IKsNodeControl> node;
    ASSERT_EQ(topology->CreateNodeInstance(2, kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())), S_OK);
    ASSERT_NE(node, nullptr);
    EXPECT_NE(g_seen.outer, nullptr);
    EXPECT_EQ(g_seen.node, 2u);
    ASSERT_NE(g_seen.control, nullptr);

    // The node object is the identity; the plug-in's faces lead back to it.
    ComPtr<IUnknown> identity;
    ASSERT_EQ(node->QueryInterface(IID_PPV_ARGS(&identity)), S_OK);
    EXPECT_EQ(identity.Get(), g_seen.outer);
    ComPtr<IProbe> probe;
    ASSERT_EQ(node->QueryInterface(kIidProbe, reinterpret_cast<void**>(probe.GetAddressOf())), S_OK);
    EXPECT_EQ(probe->Outer(), g_seen.outer);

    // The control the plug-in got reaches the camera's plug-in unit on its node.
    struct {
        GUID set;
        ULONG id, flags, node, reserved;
    } info{{0x5A215226, 0x3289, 0x4156, {0x89, 0x4A, 0x5C, 0x55, 0x7C, 0xDF, 0x96, 0x64}}, 0, 0x10000001, 2, 0};
    BYTE guid[16] = {};
    ULONG returned = 0;
    EXPECT_EQ(g_seen.control->KsProperty(&info, sizeof info, guid, sizeof guid, &returned), S_OK);
    EXPECT_EQ(std::memcmp(guid, &info.set, 16), 0);

    g_seen.control.Reset();
    node.Reset();
    probe.Reset();
    identity.Reset();
    EXPECT_EQ(g_seen.alive, 0);
}

TEST_F(NodePluginTest, AnswersWhateverInterfaceThePluginHas) {
    ComPtr<IProbe> probe;
    EXPECT_EQ(topology->CreateNodeInstance(2, kIidProbe, reinterpret_cast<void**>(probe.GetAddressOf())), S_OK);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(topology->CreateNodeInstance(2, IID_IAMVideoProcAmp, reinterpret_cast<void**>(unknown.GetAddressOf())),
              E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);
    g_seen.control.Reset();
    probe.Reset();
    EXPECT_EQ(g_seen.alive, 0);
}

TEST_F(NodePluginTest, NodesWithoutARegisteredPluginHaveNoInstance) {
    ComPtr<IUnknown> node;
    // Node 1 answers the bridge set, for which no plug-in is registered.
    EXPECT_EQ(topology->CreateNodeInstance(1, kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())),
              E_NOINTERFACE);
    EXPECT_EQ(topology->CreateNodeInstance(0, kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())),
              E_NOINTERFACE);
    EXPECT_EQ(topology->CreateNodeInstance(7, kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())),
              E_INVALIDARG);
    RemoveRegistryKey(platform::RegistryRoot::LocalMachine, kPluginSetKey);
    EXPECT_EQ(topology->CreateNodeInstance(2, kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())),
              E_NOINTERFACE);
    EXPECT_EQ(g_seen.alive, 0);
}

TEST_F(NodePluginTest, APluginThatRefusesTheControlFailsTheInstance) {
    g_seen.putControlAnswer = E_ACCESSDENIED;
    ComPtr<IUnknown> node;
    EXPECT_EQ(topology->CreateNodeInstance(2, kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())),
              E_ACCESSDENIED);
    EXPECT_EQ(node, nullptr);
    EXPECT_EQ(g_seen.alive, 0);
}

}  // namespace
}  // namespace kv::sim::win32::test
