#pragma once
// Decoding a picture held in memory with the same reader settings and size
// limits as the image decoder's files: the format is decided from the
// content, a header size beyond MaxDecodedPixels or MaxDecodedSide is
// refused before anything is allocated, and Qt's allocation guard is set.
// A picture that cannot be read gives a null image, never a crash.

#include <QByteArray>
#include <QImage>

QImage DecodeImageBytes(const QByteArray& bytes);
