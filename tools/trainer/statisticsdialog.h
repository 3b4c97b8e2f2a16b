#pragma once
// The statistics view: per spot, the answers given and the share right, the
// accuracy map of the chosen spot, the ten weakest pairs to drill, and the
// CSV export of every answer.

#include <QDialog>
#include <QHash>
#include <vector>

#include "drill.h"
#include "history.h"

class QLabel;
class QTableWidget;

namespace trainer {

class StatisticsDialog : public QDialog {
    Q_OBJECT
public:
    explicit StatisticsDialog(QWidget* parent = nullptr);

    // Shows tallies by spot index; the book names the spots the file holds.
    void showTallies(const QHash<int, SpotTallies>& tallies, const RangeBook* book);
    int totalAnswers() const { return totalAnswers_; }
    const std::vector<int>& rowSpots() const { return rowSpots_; }
    void showSpot(int row);

signals:
    void drillRequested(const std::vector<trainer::CardId>& cards);
    void exportRequested();

private:
    QHash<int, SpotTallies> tallies_;
    std::vector<int> rowSpots_;
    int totalAnswers_ = 0;
    QTableWidget* table_ = nullptr;
    QLabel* total_ = nullptr;
    QLabel* map_ = nullptr;
};

}  // namespace trainer
