// TransformFilter: a filter with one input and one output pin whose output follows the input.
#pragma once

#include <dshow/filter_base.h>

namespace platform::dshow {

class TransformFilter : public FilterBase {
public:
    explicit TransformFilter(const CLSID& clsid);

    InputPin& input() const { return *input_; }
    OutputPin& output() const { return *output_; }

    // S_OK when the input accepts `type`.
    virtual HRESULT checkInputType(const AM_MEDIA_TYPE& type) = 0;
    // The output types for the connected input, as PinBase::getMediaType.
    virtual HRESULT getOutputType(int index, AM_MEDIA_TYPE* type) = 0;
    // S_OK when the output accepts `type` with the connected input; the default accepts the first output
    // type's major type and subtype.
    virtual HRESULT checkOutputType(const AM_MEDIA_TYPE& type);
    // One input sample; the filter delivers what it makes through output(). Streaming thread.
    virtual HRESULT transform(IMediaSample* sample) = 0;

private:
    InputPin* input_;
    OutputPin* output_;
};

} // namespace platform::dshow
