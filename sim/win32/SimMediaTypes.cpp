// The simulated pins' YUY2 media types and their enumerator.
#include "sim/win32/SimMediaTypes.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "sim/win32/SingleInterfaceObject.h"

namespace kv::sim::win32 {

namespace {

constexpr DWORD kYuy2FourCc = 0x32595559;  // 'YUY2'

VIDEOINFOHEADER VideoInfo(FrameSize size) {
    VIDEOINFOHEADER info{};
    info.rcSource = {0, 0, size.width, size.height};
    info.rcTarget = info.rcSource;
    info.AvgTimePerFrame = video::kFrameTime;
    info.dwBitRate = static_cast<DWORD>(FrameBytes(size) * 8 * 30);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = size.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 16;
    info.bmiHeader.biCompression = kYuy2FourCc;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(FrameBytes(size));
    return info;
}

class MediaTypeEnumerator final : public SingleInterfaceObject<IEnumMediaTypes, IID_IEnumMediaTypes> {
public:
    MediaTypeEnumerator(std::vector<FrameSize> sizes, std::size_t position)
        : SingleInterfaceObject(1), sizes_(std::move(sizes)), position_(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, AM_MEDIA_TYPE** out, ULONG* fetched) override {
        if (out == nullptr) return E_POINTER;
        ULONG given = 0;
        for (; given < count && position_ < sizes_.size(); ++given, ++position_) {
            out[given] = AllocateVideoType(sizes_[position_]);
            if (out[given] == nullptr) break;
        }
        if (fetched != nullptr) *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const std::size_t left = sizes_.size() - position_;
        position_ += std::min<std::size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumMediaTypes** copy) override {
        if (copy == nullptr) return E_POINTER;
        *copy = new (std::nothrow) MediaTypeEnumerator(sizes_, position_);
        return *copy != nullptr ? S_OK : E_OUTOFMEMORY;
    }

private:
    std::vector<FrameSize> sizes_;
    std::size_t position_;
};

}  // namespace

long FrameBytes(FrameSize size) { return static_cast<long>(size.width) * size.height * 2; }

AM_MEDIA_TYPE BorrowedVideoType(FrameSize size, VIDEOINFOHEADER& storage) {
    storage = VideoInfo(size);
    AM_MEDIA_TYPE type{};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_YUY2;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = static_cast<ULONG>(FrameBytes(size));
    type.formattype = FORMAT_VideoInfo;
    type.cbFormat = sizeof(VIDEOINFOHEADER);
    type.pbFormat = reinterpret_cast<BYTE*>(&storage);
    return type;
}

HRESULT CopyVideoType(FrameSize size, AM_MEDIA_TYPE& out) {
    VIDEOINFOHEADER storage;
    out = BorrowedVideoType(size, storage);
    out.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(sizeof storage));
    if (out.pbFormat == nullptr) {
        out.cbFormat = 0;
        return E_OUTOFMEMORY;
    }
    std::memcpy(out.pbFormat, &storage, sizeof storage);
    return S_OK;
}

AM_MEDIA_TYPE* AllocateVideoType(FrameSize size) {
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (type != nullptr && FAILED(CopyVideoType(size, *type))) {
        CoTaskMemFree(type);
        return nullptr;
    }
    return type;
}

void DeleteVideoType(AM_MEDIA_TYPE* type) {
    if (type == nullptr) return;
    CoTaskMemFree(type->pbFormat);
    if (type->pUnk != nullptr) type->pUnk->Release();
    CoTaskMemFree(type);
}

std::optional<std::size_t> MatchVideoType(const AM_MEDIA_TYPE& type, const std::vector<FrameSize>& sizes,
                                          std::optional<std::size_t> anySize) {
    const bool videoOrAny = type.majortype == MEDIATYPE_Video || type.majortype == GUID_NULL;
    const bool yuy2OrAny = type.subtype == MEDIASUBTYPE_YUY2 || type.subtype == GUID_NULL;
    if (!videoOrAny || !yuy2OrAny) return std::nullopt;
    const bool hasFormat =
        type.formattype == FORMAT_VideoInfo && type.pbFormat != nullptr && type.cbFormat >= sizeof(VIDEOINFOHEADER);
    if (!hasFormat) return anySize;
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (info->bmiHeader.biWidth == sizes[i].width && std::abs(info->bmiHeader.biHeight) == sizes[i].height)
            return i;
    }
    return std::nullopt;
}

HRESULT CreateMediaTypeEnumerator(const std::vector<FrameSize>& sizes, IEnumMediaTypes** out) {
    if (out == nullptr) return E_POINTER;
    *out = new (std::nothrow) MediaTypeEnumerator(sizes, 0);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace kv::sim::win32
