#pragma once
// A direct libpng reader for the PNG pictures that need no conversion: 8 bits
// a channel, RGB or RGBA, not interlaced, with no colour-space, gamma or
// transparency chunk. Those are what charts are made of, and reading them
// straight into the image's rows, trusting the chunks' CRC-32 without also
// summing the compressed stream (zlib's Adler-32, a fifth of the decode), is
// about a fifth faster than Qt's reader. The pixels and the image format are
// the ones Qt's reader gives; every other picture is left to Qt.

#include <QImage>
#include <QSize>
#include <functional>
#include <optional>

class QIODevice;

// Reads the picture from the device's current position. Returns nothing when
// the picture is not such a PNG (the device must then be rewound and read by
// Qt), a null image when it is one but cannot be read or is refused by
// acceptable (called with the header's size before anything is allocated),
// and the picture otherwise.
std::optional<QImage> ReadPlainPng(QIODevice& device, const std::function<bool(QSize)>& acceptable);
