// The media-graph port on Windows: the platform's filter graph, capture
// graph builder, sample grabber, null renderer and file source.
#pragma once

#include "platform/MediaGraph.h"

namespace kv::platform::win32 {

// Creates the platform's classes; holds no state of its own.
class Win32MediaGraphs : public MediaGraphs {
public:
    HResult CreateFilterGraph(std::shared_ptr<FilterGraph>& graph) override;
    HResult CreateCaptureGraphBuilder(FilterGraph& graph, std::shared_ptr<CaptureGraphBuilder>& builder) override;
    HResult CreateSampleGrabber(std::shared_ptr<SampleGrabber>& grabber) override;
    HResult CreateNullRenderer(std::shared_ptr<GraphFilter>& renderer) override;
    HResult CreateFileSource(std::shared_ptr<FileSource>& source) override;
};

}  // namespace kv::platform::win32
