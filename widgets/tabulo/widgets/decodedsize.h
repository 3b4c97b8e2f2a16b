#pragma once
// The natural size of a decoded picture in the layer's own terms.

#include "tabulo/widgets/imagedecoder.h"

// 0 x 0 before completion and for a picture that could not be read.
inline TSize DecodedSize(const ImageDecoder& decoder) {
    const QSize s = decoder.Size();
    return TSize{s.width(), s.height()};
}
