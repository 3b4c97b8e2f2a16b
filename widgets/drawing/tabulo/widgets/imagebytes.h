#pragma once
// Reading one picture within the image decoder's limits, the part of the
// decoder that touches no file and no thread (the fuzz harness drives it
// directly): the format is decided from the content, a header size beyond
// MaxDecodedPixels or MaxDecodedSide is refused before anything is
// allocated, and Qt's allocation guard agrees with those limits. A picture
// that cannot be read gives a null image, never a crash.

#include <QByteArray>
#include <QImage>

class QIODevice;

// Sets Qt's allocation guard to the decoder's limit, once; safe from any
// thread.
void LimitDecoderAllocations();
// Reads the picture the device holds (the guard must already be set).
QImage DecodePicture(QIODevice& device);
// The same for a picture held in memory (sets the guard itself).
QImage DecodePictureData(const QByteArray& bytes);
