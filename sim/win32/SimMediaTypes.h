// The simulated pins' media types: YUY2 video-info formats, one per frame
// size, in the platform's AM_MEDIA_TYPE form.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <optional>
#include <vector>

#include "sim/video/TestPattern.h"

namespace kv::sim::win32 {

using video::FrameSize;

// A type whose format block lives in `storage` (for a call that copies it).
AM_MEDIA_TYPE BorrowedVideoType(FrameSize size, VIDEOINFOHEADER& storage);
// Fills `out` with a type whose format block the caller frees
// (CoTaskMemFree), as ConnectionMediaType and GetFormat hand them out.
HRESULT CopyVideoType(FrameSize size, AM_MEDIA_TYPE& out);
// A whole type allocated for the caller (DeleteMediaType frees it).
AM_MEDIA_TYPE* AllocateVideoType(FrameSize size);
// Frees what AllocateVideoType gave.
void DeleteVideoType(AM_MEDIA_TYPE* type);
// The index of the size whose YUY2 type `type` is; none for any other type.
// A type without a video-info format (only major type and subtype, or not
// even those) gives `anySize` when that is set.
std::optional<std::size_t> MatchVideoType(const AM_MEDIA_TYPE& type, const std::vector<FrameSize>& sizes,
                                          std::optional<std::size_t> anySize);
// Bytes of one YUY2 frame.
long FrameBytes(FrameSize size);

HRESULT CreateMediaTypeEnumerator(const std::vector<FrameSize>& sizes, IEnumMediaTypes** out);

}  // namespace kv::sim::win32
