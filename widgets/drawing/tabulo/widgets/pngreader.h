#pragma once
// The decoder's own reader for the PNG pictures that need no conversion:
// 8 bits a channel, RGB or RGBA, not interlaced, with no colour-space, gamma
// or transparency chunk. Those are what charts are made of. The compressed
// stream is inflated in one go by libdeflate (four times as fast as zlib on
// a chart) straight into the image's memory, every chunk's CRC-32 and the
// stream's Adler-32 checked. The pixels, the image format and the resolution
// are the ones Qt's reader gives; every other picture, and any such picture
// that is not entirely sound, is left to Qt's reader to judge.

#include <QImage>
#include <QSize>
#include <functional>
#include <optional>

class QIODevice;

// Reads the picture from the device's current position. Returns nothing when
// the picture is not such a PNG, is damaged or truncated in any way, or is
// over 32 MB of filtered rows (the device must then be rewound and read by
// Qt); a null image when acceptable (called with the header's size before
// anything is allocated) refuses it or its memory cannot be had; and the
// picture otherwise.
std::optional<QImage> ReadPlainPng(QIODevice& device, const std::function<bool(QSize)>& acceptable);
