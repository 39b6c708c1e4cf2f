// zelunit.dll registering itself under Wine: regsvr32 writes and removes
// the keys and values, a second registration keeps the node interface, the
// vendor key outlives unregistration, and the registered type library and
// class serve IDispatch by DISPID.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/plugin/win32/ZelunitTestSupport.h"

namespace kv::plugin::test {
namespace {

// regsvr32 of the module, started from `folder`; its exit status.
DWORD Regsvr32(const std::wstring& switches, const std::filesystem::path& folder) {
    std::wstring command =
        L"C:\\windows\\system32\\regsvr32.exe /s " + switches + L" \"" + ZelunitPath().wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        return 0xFFFFFFFF;
    }
    DWORD status = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Text(HKEY root, const std::string& path, const std::string& name = "") {
    const auto value = ReadValue(root, path, name);
    return value ? value->Text() : "<none>";
}

bool TypeLibraryRegistered() {
    ComPtr<ITypeLib> library;
    return SUCCEEDED(LoadRegTypeLib(kLibId, 1, 0, 0x409, library.GetAddressOf()));
}

TEST(RegistrationWineTest, Regsvr32RegistersAndUnregistersTheModule) {
    ScratchFolder elsewhere;
    const std::string module = Lower(ZelunitPath().string());
    ASSERT_EQ(Regsvr32(L"", elsewhere.path()), 0u);

    const auto handler = ReadValue(HKEY_LOCAL_MACHINE, kNodeKey, "");
    ASSERT_TRUE(handler);
    EXPECT_EQ(handler->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(handler->bytes.size(), 37u);
    EXPECT_EQ(handler->Text(), "USB Extension Unit Interface Handler");
    const auto clsid = ReadValue(HKEY_LOCAL_MACHINE, kNodeKey, "CLSID");
    ASSERT_TRUE(clsid);
    EXPECT_EQ(clsid->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(clsid->bytes, (std::vector<BYTE>{0xA0, 0x2D, 0x43, 0xA0, 0x87, 0xA8, 0xF8, 0x45, 0xB2, 0x8B, 0x66, 0x93,
                                               0xC6, 0xB9, 0xE6, 0x19}));
    const auto iid = ReadValue(HKEY_LOCAL_MACHINE, kNodeKey, "IID");
    ASSERT_TRUE(iid);
    EXPECT_EQ(iid->bytes, (std::vector<BYTE>{0xC0, 0xB5, 0x92, 0x6E, 0x8A, 0x4D, 0x2A, 0x40, 0xB5, 0x6C, 0xD2, 0xD2,
                                             0x92, 0xE0, 0x23, 0x3B}));

    const auto version = ReadValue(HKEY_CURRENT_USER, kVendorKey, "Version Number");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(version->Dword(), 4096u);
    // The module's own path, though regsvr32 ran in another folder; stored
    // with its terminating zero.
    const auto file = ReadValue(HKEY_CURRENT_USER, kVendorKey, "FileName Path");
    ASSERT_TRUE(file);
    EXPECT_EQ(Lower(file->Text()), module);
    EXPECT_EQ(file->bytes.size(), file->Text().size() + 1);
    EXPECT_NE(GetFileAttributesA(file->Text().c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kClassKey), "ExtensionUnit Class");
    EXPECT_EQ(Lower(Text(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32")), module);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\ProgID"), "Zelunit.ExtensionUnit.1");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\VersionIndependentProgID"), "Zelunit.ExtensionUnit");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\TypeLib"), "{77D86AEC-1F9E-4044-95C5-0F05B382C0F5}");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "Zelunit.ExtensionUnit\\CurVer"), "Zelunit.ExtensionUnit.1");
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, "Zelunit.ExtensionUnit.1\\CLSID"), "{A0432DA0-A887-45F8-B28B-6693C6B9E619}");
    EXPECT_TRUE(TypeLibraryRegistered());

    // Again, over an edited node interface and vendor key.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNodeKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>("Another handler"), 16);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kVendorKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    const DWORD old = 1;
    RegSetValueExA(key, "Version Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old), sizeof old);
    RegCloseKey(key);
    ASSERT_EQ(Regsvr32(L"", elsewhere.path()), 0u);
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kNodeKey), "Another handler");
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kVendorKey, "Version Number")->Dword(), 4096u);

    ASSERT_EQ(Regsvr32(L"/u", elsewhere.path()), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Zelunit.ExtensionUnit"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Zelunit.ExtensionUnit.1"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_FALSE(TypeLibraryRegistered());
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kVendorKey, "Version Number")->Dword(), 4096u);
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kNodeKey), "Another handler");
}

TEST(RegistrationWineTest, TheRegisteredTypeLibraryServesIDispatchByDispid) {
    ComApartment com;
    const Zelunit zelunit;
    ASSERT_TRUE(zelunit.Loaded());
    ASSERT_EQ(zelunit.RegisterServer(), S_OK);

    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadRegTypeLib(kLibId, 1, 0, 0x409, library.GetAddressOf()), S_OK);
    BSTR name = nullptr;
    BSTR help = nullptr;
    ASSERT_EQ(library->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_STREQ(name, L"ZELUNITLib");
    EXPECT_STREQ(help, L"zelunit 1.0 Type Library");
    SysFreeString(name);
    SysFreeString(help);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoOfGuid(kIID_IExtensionUnit, info.GetAddressOf()), S_OK);
    const wchar_t* methods[] = {L"get_InfoSize", L"get_Info", L"get_PropertySize", L"get_Property",
                                L"put_Property", L"is_Ready", L"SwitchHandle",     L"end"};
    for (int i = 0; i < 8; ++i) {
        LPOLESTR method = const_cast<LPOLESTR>(methods[i]);
        MEMBERID id = 0;
        EXPECT_EQ(info->GetIDsOfNames(&method, 1, &id), S_OK) << i;
        EXPECT_EQ(id, i + 1);
        BSTR doc = nullptr;
        EXPECT_EQ(info->GetDocumentation(id, nullptr, &doc, nullptr, nullptr), S_OK);
        EXPECT_EQ(std::wstring(doc ? doc : L""), std::wstring(L"method ") + methods[i]);
        SysFreeString(doc);
    }

    // The registered class, created the way any client does.
    ComPtr<IExtensionUnit> unit;
    ASSERT_EQ(CoCreateInstance(kCLSID_ExtensionUnit, nullptr, CLSCTX_INPROC_SERVER, kIID_IExtensionUnit,
                               reinterpret_cast<void**>(unit.GetAddressOf())),
              S_OK);
    unit->end();
    LPOLESTR isReady = const_cast<LPOLESTR>(L"is_Ready");
    DISPID id = 0;
    ASSERT_EQ(unit->GetIDsOfNames(IID_NULL, &isReady, 1, 0x409, &id), S_OK);
    EXPECT_EQ(id, 6);
    const auto invokeIsReady = [&](ULONG& ready) {
        VARIANTARG argument;
        VariantInit(&argument);
        argument.vt = VT_UI4 | VT_BYREF;
        argument.pulVal = &ready;
        DISPPARAMS params{&argument, nullptr, 1, 0};
        return unit->Invoke(6, IID_NULL, 0x409, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    };
    ULONG ready = 7;
    EXPECT_EQ(invokeIsReady(ready), S_OK);
    EXPECT_EQ(ready, 0u);

    FakeKsControl control;
    ComPtr<IKsNodeControl> node;
    ASSERT_EQ(unit->QueryInterface(kIidKsNodeControl, reinterpret_cast<void**>(node.GetAddressOf())), S_OK);
    ASSERT_EQ(node->put_KsControl(&control), S_OK);
    EXPECT_EQ(invokeIsReady(ready), S_OK);
    EXPECT_EQ(ready, 1u);
    // DISPID 8, end, with no arguments.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(unit->Invoke(8, IID_NULL, 0x409, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(invokeIsReady(ready), S_OK);
    EXPECT_EQ(ready, 0u);
    unit->end();  // the control lives on this stack: never leave it listed
    EXPECT_EQ(control.refs, 1u);
    UINT count = 0;
    EXPECT_EQ(unit->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ComPtr<ITypeInfo> missing;
    EXPECT_EQ(unit->GetTypeInfo(1, 0, missing.GetAddressOf()), DISP_E_BADINDEX);
}

}  // namespace
}  // namespace kv::plugin::test
