#pragma once
// TImageList: an ordered list of pictures (the frames of an animation, the
// images of a tab strip), indexed from 0, and the icon of one of them.

#include <QImage>
#include <vector>

class TIcon;

using TImageList = std::vector<QImage>;

int ImageListCount(const TImageList& list);

// Makes `icon` the picture at `index`, scaled to size x size when it has
// another size, and sets the icon's size; a null picture gives an empty
// icon. Answers false (icon unchanged) for an index outside the list.
bool ImageListGetIcon(const TImageList& list, int index, int size, TIcon& icon);
