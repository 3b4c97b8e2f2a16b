#include "statisticsdialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "accuracy.h"
#include "tabulo/chartpack/render.h"

namespace trainer {

using namespace chartpack;

namespace {
constexpr size_t kWeakestPairs = 10;
}

StatisticsDialog::StatisticsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Statistics"));
    auto* layout = new QVBoxLayout(this);
    total_ = new QLabel(this);
    total_->setObjectName(QStringLiteral("TotalAnswers"));
    layout->addWidget(total_);
    auto* row = new QHBoxLayout;
    table_ = new QTableWidget(0, 3, this);
    table_->setObjectName(QStringLiteral("SpotTable"));
    table_->setHorizontalHeaderLabels({tr("Spot"), tr("Answers"), tr("Right")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    row->addWidget(table_, 1);
    map_ = new QLabel(this);
    map_->setObjectName(QStringLiteral("AccuracyMap"));
    map_->setFixedSize(kChartWidth / 2, kChartHeight / 2);
    row->addWidget(map_, 0, Qt::AlignTop);
    layout->addLayout(row, 1);
    auto* buttons = new QHBoxLayout;
    auto* drill = new QPushButton(tr("Drill the ten weakest"), this);
    drill->setObjectName(QStringLiteral("DrillWeakest"));
    auto* exportCsv = new QPushButton(tr("Export CSV..."), this);
    exportCsv->setObjectName(QStringLiteral("ExportCsv"));
    auto* close = new QPushButton(tr("Close"), this);
    buttons->addWidget(drill);
    buttons->addWidget(exportCsv);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int current) { showSpot(current); });
    connect(drill, &QPushButton::clicked, this, [this] {
        const auto cards = weakestPairs(tallies_, kWeakestPairs);
        if (cards.empty()) return;
        emit drillRequested(cards);
        hide();
    });
    connect(exportCsv, &QPushButton::clicked, this, &StatisticsDialog::exportRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    resize(720, 420);
}

void StatisticsDialog::showTallies(const QHash<int, SpotTallies>& tallies, const RangeBook* book) {
    tallies_ = tallies;
    rowSpots_.clear();
    totalAnswers_ = 0;
    if (book) {
        for (const BookSpot& spot : book->spots) rowSpots_.push_back(spot.spot.index());
    } else {
        for (auto it = tallies.begin(); it != tallies.end(); ++it) rowSpots_.push_back(it.key());
        std::sort(rowSpots_.begin(), rowSpots_.end());
    }
    table_->setRowCount(static_cast<int>(rowSpots_.size()));
    for (int row = 0; row < static_cast<int>(rowSpots_.size()); ++row) {
        const int spot = rowSpots_[static_cast<size_t>(row)];
        const auto at = tallies.find(spot);
        const Tally sum = at == tallies.end() ? Tally{} : total(*at);
        totalAnswers_ += sum.answers;
        table_->setItem(
            row, 0, new QTableWidgetItem(QString::fromStdString(Spot::fromIndex(spot).title())));
        auto* answers = new QTableWidgetItem(QString::number(sum.answers));
        answers->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(row, 1, answers);
        auto* right = new QTableWidgetItem(
            sum.answers ? QStringLiteral("%1 %").arg(100 * sum.right / sum.answers) : QString());
        right->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(row, 2, right);
    }
    const QString count = totalAnswers_ == 1 ? tr("1 answer") : tr("%1 answers").arg(totalAnswers_);
    total_->setText(tr("%1 given.").arg(count));
    // The count in the title too, where the window list shows it.
    setWindowTitle(tr("Tabulo trainer - statistics (%1)").arg(count));
    const auto weakest = weakestSpots(tallies_, 1);
    int row = 0;
    if (!weakest.empty()) {
        const auto at = std::find(rowSpots_.begin(), rowSpots_.end(), weakest.front());
        if (at != rowSpots_.end()) row = static_cast<int>(at - rowSpots_.begin());
    }
    if (!rowSpots_.empty()) {
        const QSignalBlocker quiet(table_);  // the map is painted once, below
        table_->setCurrentCell(row, 0);
    }
    showSpot(row);
}

void StatisticsDialog::showSpot(int row) {
    if (row < 0 || row >= static_cast<int>(rowSpots_.size())) {
        map_->clear();
        return;
    }
    const int spot = rowSpots_[static_cast<size_t>(row)];
    const auto at = tallies_.find(spot);
    const QImage map =
        renderAccuracyMap(Spot::fromIndex(spot), at == tallies_.end() ? SpotTallies{} : *at);
    map_->setPixmap(QPixmap::fromImage(
        map.scaled(map_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace trainer
