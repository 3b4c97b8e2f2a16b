#pragma once
// The 13 x 13 hand grid of the chosen chart, in the charts' colours (mixed
// hands as bands); a press or a drag across cells paints with the brush.

#include <QWidget>

namespace ranges {

class EditorModel;

class GridWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCell = 34;

    explicit GridWidget(EditorModel& model, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    // The hand under a point of the widget, or -1.
    int handAt(QPoint point) const;
    QRect cellRect(int hand) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    EditorModel& model_;
    int last_ = -1;  // the cell the stroke painted last
    bool stroking_ = false;
};

}  // namespace ranges
