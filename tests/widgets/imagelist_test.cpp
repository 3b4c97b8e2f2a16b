// Image lists: the icon of one picture at the size asked.

#include <gtest/gtest.h>

#include <QImage>

#include "tabulo/widgets/icon.h"
#include "tabulo/widgets/imagelist.h"

namespace {

QImage filled(int w, int h, QRgb colour) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(colour);
    return img;
}

TEST(ImageList, IconOfAPictureAtTheSizeAsked) {
    const TImageList list = {filled(16, 16, qRgb(255, 0, 0)), filled(48, 24, qRgb(0, 0, 255)),
                             QImage()};
    EXPECT_EQ(ImageListCount(list), 3);

    TIcon icon;
    ASSERT_TRUE(ImageListGetIcon(list, 0, 16, icon));
    EXPECT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Size(), 16);
    EXPECT_EQ(icon.Image(16, 16).pixel(8, 8), qRgb(255, 0, 0));

    // Another size is scaled to a square of the size.
    ASSERT_TRUE(ImageListGetIcon(list, 1, 32, icon));
    EXPECT_EQ(icon.Size(), 32);
    const QImage big = icon.Image(32, 32);
    EXPECT_EQ(big.size(), QSize(32, 32));
    EXPECT_EQ(big.pixel(31, 31), qRgb(0, 0, 255));

    // A null picture gives an empty icon.
    ASSERT_TRUE(ImageListGetIcon(list, 2, 32, icon));
    EXPECT_TRUE(icon.Empty());
}

TEST(ImageList, IndexOutsideTheListLeavesTheIconAlone) {
    const TImageList list = {filled(16, 16, qRgb(0, 255, 0))};
    TIcon icon;
    ASSERT_TRUE(ImageListGetIcon(list, 0, 16, icon));
    for (int index : {-1, 1, 1000}) {
        EXPECT_FALSE(ImageListGetIcon(list, index, 24, icon)) << index;
        EXPECT_EQ(icon.Size(), 16) << index;
        EXPECT_FALSE(icon.Empty()) << index;
    }
    EXPECT_FALSE(ImageListGetIcon(TImageList(), 0, 16, icon));
    EXPECT_EQ(ImageListCount(TImageList()), 0);
}

}  // namespace
