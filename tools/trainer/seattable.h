#pragma once
// The six-seat table of a spot: who folded, who raised or 3-bet, the blinds
// posted, the dealer button on BU and the player's seat.

#include <QWidget>
#include <array>

#include "tabulo/chartpack/rangefile.h"

namespace trainer {

enum class SeatRole { Waiting, Folded, Raised, ThreeBet };

struct SeatView {
    SeatRole role = SeatRole::Waiting;
    bool hero = false;
    // What lies in front of the seat: "raise", "3-bet", the blind "0.5" or
    // "1"; empty when nothing.
    QString bet;
};

// The table as the spot's title names it: before an open every seat ahead
// of the player has folded; against an open, every seat but the opener's
// ahead of the player; against a 3-bet, every seat but the two in the pot.
std::array<SeatView, chartpack::kSeatCount> tableSeats(chartpack::Spot spot);

inline constexpr int kDealerSeat = 3;  // BU

// Paints the table into a rectangle, the player's seat at the bottom.
void paintSeatTable(QPainter& p, const QRect& area, chartpack::Spot spot);

class SeatTableWidget : public QWidget {
public:
    explicit SeatTableWidget(QWidget* parent = nullptr);
    void setSpot(chartpack::Spot spot);
    chartpack::Spot spot() const { return spot_; }
    QSize sizeHint() const override { return {360, 220}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    chartpack::Spot spot_;
};

}  // namespace trainer
