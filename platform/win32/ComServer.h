// The small kit behind our in-process COM servers (zelunit.dll and the
// simulator's kvsimcam.dll): the count that answers DllCanUnloadNow, and the
// class factory with its two lifetimes.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <new>

namespace kv::platform::win32 {

// The live objects and the server locks of one module. Two counts, so that
// a client's stray LockServer(FALSE) can never cancel out a live object.
class ServerLife {
public:
    void ObjectCreated() { ++m_objects; }
    void ObjectDestroyed() { --m_objects; }
    void LockServer(bool lock) { lock ? ++m_locks : --m_locks; }
    bool InUse() const { return m_objects.load() != 0 || m_locks.load() != 0; }

private:
    std::atomic<long> m_objects{0};
    std::atomic<long> m_locks{0};
};

// How a server makes an instance of its class: IClassFactory::CreateInstance.
using InstanceCreator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

// A factory of one class. Its references are counted by the derived class.
class ClassFactory : public IClassFactory {
public:
    ClassFactory(InstanceCreator create, ServerLife& life) : m_create(create), m_life(life) {}
    virtual ~ClassFactory() = default;
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return m_create(outer, iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        m_life.LockServer(lock != FALSE);
        return S_OK;
    }

protected:
    ServerLife& Life() { return m_life; }

private:
    InstanceCreator m_create;
    ServerLife& m_life;
};

// One factory for the module's lifetime; its references do not keep the
// module (only LockServer does, as the COM rules ask).
class ModuleClassFactory final : public ClassFactory {
public:
    using ClassFactory::ClassFactory;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

// A factory made for each request, counted among the module's live objects
// until its last reference goes.
class CountedClassFactory final : public ClassFactory {
public:
    // The new factory's `iid` interface in `out`.
    static HRESULT Create(InstanceCreator create, ServerLife& life, REFIID iid, void** out) {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        auto* factory = new (std::nothrow) CountedClassFactory(create, life);
        if (factory == nullptr) return E_OUTOFMEMORY;
        const HRESULT hr = factory->QueryInterface(iid, out);
        factory->Release();
        return hr;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

private:
    CountedClassFactory(InstanceCreator create, ServerLife& life) : ClassFactory(create, life) {
        Life().ObjectCreated();
    }
    ~CountedClassFactory() override { Life().ObjectDestroyed(); }

    std::atomic<ULONG> m_references{1};
};

// DllGetClassObject's checks for a module that serves one class; `get`
// answers with the factory's `iid` interface.
template <class GetFactory>
HRESULT ServeClassObject(REFCLSID requested, REFCLSID served, REFIID iid, void** out, GetFactory get) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (requested != served) return CLASS_E_CLASSNOTAVAILABLE;
    return get(iid, out);
}

}  // namespace kv::platform::win32
