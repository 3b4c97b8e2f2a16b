#include "seattable.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace trainer {

using namespace chartpack;

std::array<SeatView, kSeatCount> tableSeats(Spot spot) {
    // The big blind's own chart is its answer to the small blind's open.
    const int opener = spot.facesThreeBet()     ? spot.hero
                       : spot.facesOpen()       ? spot.opponent
                       : spot.hero == kBigBlind ? kSmallBlind
                                                : -1;
    const int threeBettor = spot.facesThreeBet() ? spot.opponent : -1;
    std::array<SeatView, kSeatCount> seats;
    for (int s = 0; s < kSeatCount; ++s) {
        SeatView& seat = seats[static_cast<size_t>(s)];
        seat.hero = s == spot.hero;
        if (s == opener)
            seat.role = SeatRole::Raised;
        else if (s == threeBettor)
            seat.role = SeatRole::ThreeBet;
        else if (seat.hero)
            seat.role = SeatRole::Waiting;
        else if (threeBettor >= 0 || s < spot.hero)
            seat.role = SeatRole::Folded;
        if (seat.role == SeatRole::Raised)
            seat.bet = QStringLiteral("raise");
        else if (seat.role == SeatRole::ThreeBet)
            seat.bet = QStringLiteral("3-bet");
        else if (s == kSmallBlind)
            seat.bet = QStringLiteral("0.5");
        else if (s == kBigBlind)
            seat.bet = QStringLiteral("1");
    }
    return seats;
}

void paintSeatTable(QPainter& p, const QRect& area, Spot spot) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF felt = QRectF(area).adjusted(area.width() * 0.16, area.height() * 0.2,
                                              -area.width() * 0.16, -area.height() * 0.2);
    p.setPen(QPen(QColor(90, 60, 30), 6));
    p.setBrush(QColor(34, 110, 60));
    p.drawRoundedRect(felt, felt.height() / 2, felt.height() / 2);

    const auto seats = tableSeats(spot);
    const QPointF centre = felt.center();
    const double rx = area.width() * 0.40;
    const double ry = area.height() * 0.38;
    QFont font = p.font();
    font.setPixelSize(std::max(10, area.height() / 16));
    for (int s = 0; s < kSeatCount; ++s) {
        const SeatView& seat = seats[static_cast<size_t>(s)];
        // Clockwise in the order of play, the player at the bottom.
        const double angle =
            M_PI / 2 + 2 * M_PI * ((s - spot.hero + kSeatCount) % kSeatCount) / kSeatCount;
        const QPointF at(centre.x() + rx * std::cos(angle), centre.y() + ry * std::sin(angle));
        const QSizeF box(area.width() * 0.17, area.height() * 0.15);
        const QRectF rect(at.x() - box.width() / 2, at.y() - box.height() / 2, box.width(),
                          box.height());
        const bool folded = seat.role == SeatRole::Folded;
        p.setPen(seat.hero ? QPen(QColor(255, 200, 0), 3) : QPen(QColor(40, 40, 40), 1));
        p.setBrush(folded ? QColor(170, 170, 170) : QColor(245, 245, 245));
        p.drawRoundedRect(rect, 6, 6);
        font.setBold(seat.hero);
        p.setFont(font);
        p.setPen(folded ? QColor(110, 110, 110) : Qt::black);
        const QString name =
            QString::fromUtf8(kSeatNames[static_cast<size_t>(s)].data(),
                              qsizetype(kSeatNames[static_cast<size_t>(s)].size()));
        p.drawText(rect, Qt::AlignCenter, seat.hero ? name + QStringLiteral(" (you)") : name);

        // Bets toward the middle of the table.
        const QPointF inward = at + (centre - at) * 0.55;
        if (!seat.bet.isEmpty()) {
            const bool raised = seat.role == SeatRole::Raised || seat.role == SeatRole::ThreeBet;
            const QRectF chip(inward.x() - box.width() * 0.35, inward.y() - box.height() / 3,
                              box.width() * 0.7, box.height() / 1.5);
            p.setPen(Qt::NoPen);
            p.setBrush(raised ? QColor(200, 30, 30) : QColor(folded ? 120 : 30, 30, 140));
            p.drawRoundedRect(chip, chip.height() / 2, chip.height() / 2);
            p.setPen(Qt::white);
            p.drawText(chip, Qt::AlignCenter, seat.bet);
        }
        if (s == kDealerSeat) {
            const QPointF button = at + (centre - at) * 0.36 + QPointF(box.width() * 0.5, 0);
            const double r = box.height() / 3.2;
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawEllipse(button, r, r);
            p.drawText(QRectF(button.x() - r, button.y() - r, 2 * r, 2 * r), Qt::AlignCenter,
                       QStringLiteral("D"));
        }
    }
    p.restore();
}

SeatTableWidget::SeatTableWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SeatTable"));
    setMinimumSize(300, 180);
}

void SeatTableWidget::setSpot(Spot spot) {
    spot_ = spot;
    update();
}

void SeatTableWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintSeatTable(p, rect(), spot_);
}

}  // namespace trainer
