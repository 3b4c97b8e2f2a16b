// Image lists over vectors of QImage.

#include "tabulo/widgets/imagelist.h"

#include "tabulo/widgets/icon.h"

int ImageListCount(const TImageList& list) {
    return int(list.size());
}

bool ImageListGetIcon(const TImageList& list, int index, int size, TIcon& icon) {
    if (index < 0 || std::size_t(index) >= list.size()) return false;
    QImage frame = list[std::size_t(index)];
    if (!frame.isNull() && size > 0 && (frame.width() != size || frame.height() != size))
        frame = frame.scaled(size, size);
    icon.SetImage(frame);
    icon.SetSize(size);
    return true;
}
