#pragma once
// TIcon: an icon (a set of pictures of different sizes) and the size it is
// drawn at.

#include <QIcon>

#include "tabulo/widgets/canvas.h"

class TBitmap;

class TIcon : public TObj {
public:
    TIcon();
    explicit TIcon(const QIcon& icon, int size = 32);
    ~TIcon() override;

    bool Empty() const { return icon_.isNull(); }
    int Size() const { return size_; }
    void SetSize(int size) { size_ = size; }

    void Assign(const TIcon& other);
    void SetIcon(const QIcon& icon) { icon_ = icon; }
    // An icon made of one picture.
    void SetImage(const QImage& image);
    const QIcon& Icon() const { return icon_; }

    // Draws at (x, y) at the icon's size, or at width x height when given.
    void Draw(TCanvas& canvas, int x, int y, int width = 0, int height = 0) const;
    // The picture at a size (the nearest the icon holds, scaled).
    QImage Image(int width, int height) const;

private:
    QIcon icon_;
    int size_ = 32;
};
