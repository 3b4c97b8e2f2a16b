#include "gridwidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "editormodel.h"
#include "tabulo/chartpack/render.h"

namespace ranges {

using namespace chartpack;

GridWidget::GridWidget(EditorModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("HandGrid"));
    setFixedSize(sizeHint());
    connect(&model_, &EditorModel::changed, this, qOverload<>(&QWidget::update));
    connect(&model_, &EditorModel::painted, this, [this](int hand) { update(cellRect(hand)); });
}

QSize GridWidget::sizeHint() const {
    return {kRankCount * kCell + 1, kRankCount * kCell + 1};
}

int GridWidget::handAt(QPoint point) const {
    if (point.x() < 0 || point.y() < 0) return -1;
    const int col = point.x() / kCell, row = point.y() / kCell;
    if (col >= kRankCount || row >= kRankCount) return -1;
    return Hand{row, col}.index();
}

QRect GridWidget::cellRect(int hand) const {
    const Hand h = Hand::fromIndex(hand);
    return {h.col * kCell + 1, h.row * kCell + 1, kCell - 1, kCell - 1};
}

void GridWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), QColor(96, 96, 96));
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    const Spot spot = Spot::fromIndex(model_.spot());
    for (int h = 0; h < kHandCount; ++h) {
        const QRect cell = cellRect(h);
        if (!event->rect().intersects(cell)) continue;  // a stroke repaints one cell
        const Strategy& strategy = model_.pack().strategy(spot.index(), h);
        p.setPen(textColourOn(paintStrategy(p, cell, strategy, spot)));
        const Hand hand = Hand::fromIndex(h);
        p.drawText(cell, Qt::AlignCenter,
                   QString::fromStdString(hand.isPair() ? hand.caption() : hand.key()));
    }
}

void GridWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int hand = handAt(event->position().toPoint());
    if (hand < 0) return;
    stroking_ = true;
    model_.beginStroke();
    model_.paint(hand);
    last_ = hand;
}

void GridWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!stroking_) return;
    const int hand = handAt(event->position().toPoint());
    if (hand < 0 || hand == last_) return;
    model_.paint(hand);
    last_ = hand;
}

void GridWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !stroking_) return;
    stroking_ = false;
    last_ = -1;
    model_.endStroke();
}

}  // namespace ranges
