#include "tabulo/widgets/pngreader.h"

#include <libdeflate.h>

#include <QIODevice>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
// Above this many filtered bytes Qt reads the picture: the whole compressed
// stream is held while it is inflated, and an RGBA picture's rows beside the
// image (32 MB is a 2800 x 2800 RGBA picture; charts are a few hundred
// pixels a side).
constexpr uint64_t kMaxFilteredBytes = 32ull * 1024 * 1024;
constexpr uint32_t kMaxChunkLength = 0x7fffffffu;

// Four bytes as PNG stores numbers and chunk types: most significant first.
template <class Byte>
constexpr uint32_t BigEndian(const Byte* p) {
    return uint32_t(uint8_t(p[0])) << 24 | uint32_t(uint8_t(p[1])) << 16 |
           uint32_t(uint8_t(p[2])) << 8 | uint32_t(uint8_t(p[3]));
}

constexpr uint32_t Tag(const char (&name)[5]) {
    return BigEndian(name);
}

bool ReadExactly(QIODevice& device, void* out, qint64 length) {
    auto* to = static_cast<char*>(out);
    while (length > 0) {
        const qint64 n = device.read(to, length);
        if (n <= 0) return false;
        to += n;
        length -= n;
    }
    return true;
}

struct Chunk {
    uint32_t Type = 0;
    std::vector<unsigned char> Data;  // empty for IDAT, whose data goes onto the stream
};

constexpr uint32_t kIDAT = Tag("IDAT");
// Chunks other than IDAT are small; libpng (and so Qt) refuses those over
// 8 MB.
constexpr uint32_t kMaxOtherChunk = 1024 * 1024;

// One chunk whose CRC-32 (over type and data) is right; an IDAT's data is
// appended to the stream, which may not grow beyond streamLimit. Nothing for
// a short read, a length over the limits or a wrong CRC.
std::optional<Chunk> ReadChunk(QIODevice& device, std::vector<unsigned char>& stream,
                               std::size_t streamLimit) {
    unsigned char head[8];
    if (!ReadExactly(device, head, 8)) return std::nullopt;
    const uint32_t length = BigEndian(head);
    Chunk chunk;
    chunk.Type = BigEndian(head + 4);
    const bool idat = chunk.Type == kIDAT;
    if (length > kMaxChunkLength || (idat && length > streamLimit - stream.size()) ||
        (!idat && length > kMaxOtherChunk))
        return std::nullopt;
    std::vector<unsigned char>& data = idat ? stream : chunk.Data;
    const std::size_t at = data.size();
    data.resize(at + length);
    unsigned char crc[4];
    if (!ReadExactly(device, data.data() + at, length) || !ReadExactly(device, crc, 4))
        return std::nullopt;
    uint32_t sum = libdeflate_crc32(0, head + 4, 4);
    // (libdeflate_crc32 answers 0 for a null buffer, which an empty vector has.)
    if (length > 0) sum = libdeflate_crc32(sum, data.data() + at, length);
    if (sum != BigEndian(crc)) return std::nullopt;
    return chunk;
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Undoes a row's filter: from the filtered bytes into row, given prior, the
// row above unfiltered (or zeros). False for an unknown filter type.
bool Unfilter(unsigned type, const unsigned char* in, unsigned char* row,
              const unsigned char* prior, std::size_t length, std::size_t bpp) {
    switch (type) {
        case 0:
            std::memcpy(row, in, length);
            return true;
        case 1:
            std::memcpy(row, in, bpp);
            for (std::size_t i = bpp; i < length; ++i) row[i] = uint8_t(in[i] + row[i - bpp]);
            return true;
        case 2:
            for (std::size_t i = 0; i < length; ++i) row[i] = uint8_t(in[i] + prior[i]);
            return true;
        case 3:
            for (std::size_t i = 0; i < bpp; ++i) row[i] = uint8_t(in[i] + prior[i] / 2);
            for (std::size_t i = bpp; i < length; ++i)
                row[i] = uint8_t(in[i] + (row[i - bpp] + prior[i]) / 2);
            return true;
        case 4:
            for (std::size_t i = 0; i < bpp; ++i) row[i] = uint8_t(in[i] + prior[i]);
            for (std::size_t i = bpp; i < length; ++i)
                row[i] = uint8_t(in[i] + Paeth(row[i - bpp], prior[i], prior[i - bpp]));
            return true;
        default:
            return false;
    }
}

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

}  // namespace

std::optional<QImage> ReadPlainPng(QIODevice& device,
                                   const std::function<bool(QSize)>& acceptable) {
    // The pixel layout below is that of a little-endian machine; elsewhere Qt
    // reads every picture.
    if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN) return std::nullopt;
    unsigned char signature[8];
    if (device.peek(reinterpret_cast<char*>(signature), 8) != 8 ||
        std::memcmp(signature, kSignature.data(), 8) != 0)
        return std::nullopt;
    device.skip(8);

    std::vector<unsigned char> stream;
    const std::optional<Chunk> header = ReadChunk(device, stream, 0);
    if (!header || header->Type != Tag("IHDR") || header->Data.size() != 13) return std::nullopt;
    const unsigned char* h = header->Data.data();
    const uint32_t width = BigEndian(h), height = BigEndian(h + 4);
    const unsigned depth = h[8], colour = h[9];
    // Depth 8, RGB (2) or RGBA (6), deflate, adaptive filters, not interlaced.
    if (depth != 8 || (colour != 2 && colour != 6) || h[10] != 0 || h[11] != 0 || h[12] != 0 ||
        width == 0 || height == 0 || width > kMaxChunkLength || height > kMaxChunkLength)
        return std::nullopt;
    if (!acceptable(QSize(int(width), int(height)))) return QImage();
    const std::size_t bpp = colour == 2 ? 3 : 4;
    const uint64_t stride = uint64_t(width) * bpp + 1;
    if (stride * height > kMaxFilteredBytes) return std::nullopt;

    // The chunks up to IEND. Anything a plain picture does not hold, or that
    // is not quite right, is left to Qt's reader to judge.
    const std::size_t filteredBytes = std::size_t(stride * height);
    // A stream of stored blocks is the longest deflate can make of it.
    const std::size_t streamLimit = filteredBytes + filteredBytes / 1024 + 1024;
    stream.reserve(std::size_t(std::clamp<qint64>(device.size(), 0, qint64(streamLimit))));
    bool resolutionSeen = false;
    std::optional<std::pair<int, int>> perMetre;
    bool idatSeen = false, idatEnded = false;
    for (;;) {
        const std::optional<Chunk> chunk = ReadChunk(device, stream, streamLimit);
        if (!chunk) return std::nullopt;
        const uint32_t type = chunk->Type;
        if (type == kIDAT) {
            if (idatEnded) return std::nullopt;
            idatSeen = true;
            continue;
        }
        idatEnded = idatSeen;
        if (type == Tag("IEND")) break;
        // The resolution, once, before the pixels.
        if (type == Tag("pHYs") && chunk->Data.size() == 9 && !idatSeen && !resolutionSeen) {
            resolutionSeen = true;
            const unsigned char* d = chunk->Data.data();
            if (d[8] == 1) perMetre.emplace(int(BigEndian(d)), int(BigEndian(d + 4)));
            continue;
        }
        // Colour space, gamma, significant bits and transparency change the
        // pixels Qt gives; a second or misplaced resolution, and critical
        // chunks (upper-case first letter) other than these three, are Qt's
        // to judge too.
        if (type == Tag("gAMA") || type == Tag("cHRM") || type == Tag("iCCP") ||
            type == Tag("sRGB") || type == Tag("sBIT") || type == Tag("tRNS") ||
            type == Tag("pHYs") || (type & 0x20000000u) == 0)
            return std::nullopt;
    }
    if (!idatSeen) return std::nullopt;

    QImage image(int(width), int(height),
                 colour == 2 ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    const std::unique_ptr<libdeflate_decompressor, DecompressorFree> inflater(
        libdeflate_alloc_decompressor());
    if (image.isNull() || !inflater) return QImage();
    // The filtered rows of an RGB picture fit at the end of the image's own
    // pixels (3 w + 1 bytes a row against 4 w), so no second picture's worth
    // of memory is taken: row y's pixels end at or before row y + 1's
    // filtered bytes begin, which are read before they are overwritten.
    // RGBA rows do not fit and get a buffer of their own. Neither is zeroed:
    // the inflater writes every byte or fails.
    const std::size_t imageBytes = std::size_t(image.sizeInBytes());
    std::unique_ptr<unsigned char[]> own;
    unsigned char* filtered = nullptr;
    if (filteredBytes <= imageBytes) {
        filtered = image.bits() + (imageBytes - filteredBytes);
    } else {
        own.reset(new (std::nothrow) unsigned char[filteredBytes]);
        if (!own) return QImage();
        filtered = own.get();
    }
    if (libdeflate_zlib_decompress(inflater.get(), stream.data(), stream.size(), filtered,
                                   filteredBytes, nullptr) != LIBDEFLATE_SUCCESS)
        return std::nullopt;
    stream = {};

    const std::size_t length = std::size_t(stride - 1);
    std::vector<unsigned char> rows(2 * length, 0);  // the row above starts as zeros
    unsigned char* prior = rows.data();
    unsigned char* row = rows.data() + length;
    for (uint32_t y = 0; y < height; ++y) {
        const unsigned char* in = filtered + std::size_t(stride * y);
        if (!Unfilter(in[0], in + 1, row, prior, length, bpp)) return std::nullopt;
        // 0xAARRGGBB, opaque for RGB.
        auto* out = reinterpret_cast<uint32_t*>(image.scanLine(int(y)));
        const unsigned char* px = row;
        if (bpp == 3) {
            for (uint32_t x = 0; x < width; ++x, px += 3)
                out[x] = 0xff000000u | uint32_t(px[0]) << 16 | uint32_t(px[1]) << 8 | px[2];
        } else {
            for (uint32_t x = 0; x < width; ++x, px += 4)
                out[x] =
                    uint32_t(px[3]) << 24 | uint32_t(px[0]) << 16 | uint32_t(px[1]) << 8 | px[2];
        }
        std::swap(prior, row);
    }
    if (perMetre) {
        image.setDotsPerMeterX(perMetre->first);
        image.setDotsPerMeterY(perMetre->second);
    }
    return image;
}
