// CExtensionUnit as a COM object under Wine: aggregation by an outer object,
// the class factory and the module's unload rule, and the plug-in calls
// through the real vtables.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/plugin/win32/ZelunitTestSupport.h"

namespace kv::plugin::test {
namespace {

class PluginObjectWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(zelunit.Loaded());
        ASSERT_EQ(zelunit.ClassFactory(factory), S_OK);
        zelunit.FreshUnit();
    }

    ComApartment com;
    Zelunit zelunit;
    ComPtr<IClassFactory> factory;
};

TEST_F(PluginObjectWineTest, AnOuterObjectAggregatesThePlugin) {
    FakeOuter outer;
    ComPtr<IUnknown> refused;
    EXPECT_EQ(factory->CreateInstance(&outer, kIID_IExtensionUnit, reinterpret_cast<void**>(refused.GetAddressOf())),
              CLASS_E_NOAGGREGATION);
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(outer.inner.GetAddressOf())),
              S_OK);
    EXPECT_EQ(outer.refs, 1u) << "the inner object holds no reference on its outer";
    EXPECT_EQ(zelunit.CanUnloadNow(), S_FALSE);

    // Through the outer object, as the proxy's node instance answers.
    ComPtr<IExtensionUnit> unit;
    ASSERT_EQ(outer.QueryInterface(kIID_IExtensionUnit, reinterpret_cast<void**>(unit.GetAddressOf())), S_OK);
    EXPECT_EQ(outer.refs, 2u) << "the faces count on the outer object";
    ComPtr<IUnknown> identity;
    ASSERT_EQ(unit->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf())), S_OK);
    EXPECT_EQ(identity.Get(), static_cast<IUnknown*>(&outer));
    ComPtr<IKsNodeControl> node;
    EXPECT_EQ(unit->QueryInterface(kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())), S_OK);

    FakeKsControl control;
    ASSERT_EQ(node->put_NodeId(4), S_OK);
    ASSERT_EQ(node->put_KsControl(&control), S_OK);
    ULONG size = 0;
    EXPECT_EQ(unit->get_PropertySize(3, &size), S_OK);
    EXPECT_EQ(size, 6u);
    identity.Reset();
    node.Reset();
    unit.Reset();
    EXPECT_EQ(outer.refs, 1u);
    outer.inner.Reset();
    // The shared list still holds the filter's control: the module stays.
    EXPECT_EQ(zelunit.CanUnloadNow(), S_FALSE);
    zelunit.FreshUnit();
    EXPECT_EQ(control.refs, 1u);
    EXPECT_EQ(zelunit.CanUnloadNow(), S_OK);
}

TEST_F(PluginObjectWineTest, APlainObjectAnswersItsThreeInterfaces) {
    ComPtr<IUnknown> object;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(object.GetAddressOf())), S_OK);
    ComPtr<IKsNodeControl> node;
    ASSERT_EQ(object->QueryInterface(kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(node.Get()), object.Get()) << "IUnknown is the IKsNodeControl face";
    ComPtr<IExtensionUnit> unit;
    ASSERT_EQ(node->QueryInterface(kIID_IExtensionUnit, reinterpret_cast<void**>(unit.GetAddressOf())), S_OK);
    ComPtr<IUnknown> back;
    ASSERT_EQ(unit->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(back.GetAddressOf())), S_OK);
    EXPECT_EQ(back.Get(), object.Get());
    ComPtr<IUnknown> other;
    EXPECT_EQ(object->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(other.GetAddressOf())), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
}

TEST_F(PluginObjectWineTest, TheModuleStaysWhileObjectsOrLocksRemain) {
    EXPECT_EQ(zelunit.CanUnloadNow(), S_OK);
    {
        const ComPtr<IExtensionUnit> unit = zelunit.FreshUnit();
        EXPECT_EQ(zelunit.CanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(zelunit.CanUnloadNow(), S_OK);
    factory->LockServer(TRUE);
    EXPECT_EQ(zelunit.CanUnloadNow(), S_FALSE);
    factory->LockServer(FALSE);
    EXPECT_EQ(zelunit.CanUnloadNow(), S_OK);
    {
        // A client's stray unlock must not cancel out a live object.
        const ComPtr<IExtensionUnit> unit = zelunit.FreshUnit();
        factory->LockServer(FALSE);
        EXPECT_EQ(zelunit.CanUnloadNow(), S_FALSE);
        factory->LockServer(TRUE);
    }
    EXPECT_EQ(zelunit.CanUnloadNow(), S_OK);

    const auto get = zelunit.library.As<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    ComPtr<IClassFactory> wrong;
    EXPECT_EQ(get(IID_IUnknown, IID_IClassFactory, reinterpret_cast<void**>(wrong.GetAddressOf())),
              CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(PluginObjectWineTest, PluginCallsThroughTheComFaces) {
    const ComPtr<IExtensionUnit> unit = zelunit.FreshUnit();
    ComPtr<IKsNodeControl> node;
    ASSERT_EQ(unit->QueryInterface(kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())), S_OK);
    BYTE data[2] = {1, 2};
    EXPECT_EQ(unit->put_Property(1, 1, data), HRESULT_FROM_WIN32(ERROR_NOT_READY));
    EXPECT_EQ(node->put_KsControl(nullptr), E_POINTER);
    FakeOuter notAControl;
    EXPECT_EQ(node->put_KsControl(&notAControl), E_NOINTERFACE);
    ULONG ready = 9;
    EXPECT_EQ(unit->is_Ready(&ready), S_OK);
    EXPECT_EQ(ready, 0u) << "an empty entry is current";

    FakeKsControl control;
    ASSERT_EQ(node->put_NodeId(7), S_OK);
    ASSERT_EQ(node->put_KsControl(&control), S_OK);
    EXPECT_EQ(unit->put_Property(3, 2, data), S_OK);
    ASSERT_EQ(control.properties.size(), 1u);
    const std::vector<BYTE>& property = control.properties[0];
    ASSERT_EQ(property.size(), 32u);
    ULONG id = 0, flags = 0, nodeId = 0, reserved = 9;
    std::memcpy(&id, &property[16], 4);
    std::memcpy(&flags, &property[20], 4);
    std::memcpy(&nodeId, &property[24], 4);
    std::memcpy(&reserved, &property[28], 4);
    EXPECT_EQ(id, 3u);
    EXPECT_EQ(flags, 0x10000002u);
    EXPECT_EQ(nodeId, 7u);
    EXPECT_EQ(reserved, 0u);

    EXPECT_EQ(unit->SwitchHandle(0), S_OK);
    EXPECT_EQ(unit->is_Ready(&ready), S_OK);
    EXPECT_EQ(ready, 0u);
    EXPECT_EQ(unit->SwitchHandle(2), E_INVALIDARG);
    EXPECT_EQ(unit->SwitchHandle(1), S_OK);
    EXPECT_EQ(unit->get_InfoSize(nullptr), E_POINTER);
    EXPECT_EQ(unit->is_Ready(nullptr), E_POINTER);
    EXPECT_EQ(unit->get_Property(2, 4, nullptr), E_POINTER);
    EXPECT_EQ(unit->end(), S_OK);
    EXPECT_EQ(control.refs, 1u);
}

}  // namespace
}  // namespace kv::plugin::test
