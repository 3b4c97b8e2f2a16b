#include "trainerwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include "accuracy.h"
#include "seattable.h"
#include "statisticsdialog.h"
#include "tabulo/chartpack/render.h"

namespace trainer {

using namespace chartpack;

namespace {

constexpr int kDefaultLength = 50;
constexpr int kMaxAnswerKeys = 9;
constexpr int kPreviewWidth = kChartWidth / 2;
constexpr int kPreviewHeight = kChartHeight / 2;

QString seatName(int seat) {
    const auto name = kSeatNames[static_cast<size_t>(seat)];
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

// "A♠ J♦" with the red suits in red.
QString cardsHtml(const HoleCards& cards) {
    auto one = [](Card card) {
        return QStringLiteral("<span style=\"color:%1\">%2</span>")
            .arg(isRedSuit(card.suit) ? QStringLiteral("#c00000") : QStringLiteral("#000000"),
                 cardText(card));
    };
    return one(cards.first) + QStringLiteral("&nbsp;") + one(cards.second);
}

// The spot's chart with one hand outlined, at the viewer's page size.
QPixmap outlinedChart(const ChartPack& pack, Spot spot, Hand hand) {
    QImage image = renderSpotChart(pack, spot);
    {
        QPainter p(&image);
        const QRect cell = handCellRect(hand).adjusted(-2, -2, 2, 2);
        p.setPen(QPen(Qt::black, 5));
        p.drawRect(cell);
        p.setPen(QPen(Qt::white, 2));
        p.drawRect(cell);
    }
    return QPixmap::fromImage(
        image.scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QString rangeErrorText(const QString& file, const RangeError& e) {
    return QStringLiteral("%1: line %2: '%3': %4")
        .arg(QFileInfo(file).fileName())
        .arg(e.line())
        .arg(QString::fromStdString(e.token()), QString::fromStdString(e.reason()));
}

}  // namespace

TrainerWindow::TrainerWindow(TrainerOptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)), session_(kDefaultLength) {
    setObjectName(QStringLiteral("Trainer"));
    setWindowTitle(
        QStringLiteral("Tabulo trainer - %1").arg(QFileInfo(options_.rangeFile).fileName()));
    chooseCsvFile = [this] {
        return QFileDialog::getSaveFileName(this, tr("Export CSV"), QStringLiteral("answers.csv"),
                                            tr("CSV files (*.csv)"));
    };
    buildWidgets();
    loadRanges();
    openHistory();
    startSession();
}

TrainerWindow::~TrainerWindow() = default;

void TrainerWindow::buildWidgets() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* settings = new QHBoxLayout;
    modeBox_ = new QComboBox(central);
    modeBox_->setObjectName(QStringLiteral("Mode"));
    for (int m = 0; m < kModeCount; ++m) {
        modeBox_->addItem(modeName(GradingMode(m)));
        modeBox_->setItemData(m, modeExplanation(GradingMode(m)), Qt::ToolTipRole);
    }
    modeBox_->setFocusPolicy(Qt::ClickFocus);
    // Alt+G and Alt+H reach the two lists from the keyboard; a choice
    // hands the keys back to the drill.
    auto* gradingLabel = new QLabel(tr("&Grading:"), central);
    gradingLabel->setBuddy(modeBox_);
    settings->addWidget(gradingLabel);
    settings->addWidget(modeBox_);
    settings->addWidget(new QLabel(tr("Questions:"), central));
    lengthBox_ = new QSpinBox(central);
    lengthBox_->setObjectName(QStringLiteral("SessionLength"));
    lengthBox_->setRange(1, 1000);
    lengthBox_->setValue(kDefaultLength);
    lengthBox_->setFocusPolicy(Qt::ClickFocus);
    settings->addWidget(lengthBox_);
    auto* statistics = new QPushButton(tr("&Statistics..."), central);
    statistics->setObjectName(QStringLiteral("Statistics"));
    statistics->setFocusPolicy(Qt::NoFocus);
    settings->addStretch();
    settings->addWidget(statistics);
    layout->addLayout(settings);
    modeLine_ = new QLabel(central);
    modeLine_->setObjectName(QStringLiteral("ModeExplanation"));
    modeLine_->setWordWrap(true);
    layout->addWidget(modeLine_);
    layout->addWidget(buildFilters());

    progress_ = new QProgressBar(central);
    progress_->setObjectName(QStringLiteral("SessionProgress"));
    progress_->setFormat(QStringLiteral("%v / %m"));
    layout->addWidget(progress_);

    pages_ = new QStackedWidget(central);
    pages_->setFocusPolicy(Qt::StrongFocus);
    auto* drillPage = new QWidget(pages_);
    auto* drillLayout = new QHBoxLayout(drillPage);
    auto* questionColumn = new QVBoxLayout;
    spotTitle_ = new QLabel(drillPage);
    spotTitle_->setObjectName(QStringLiteral("SpotTitle"));
    spotTitle_->setWordWrap(true);
    QFont big = spotTitle_->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    spotTitle_->setFont(big);
    questionColumn->addWidget(spotTitle_);
    table_ = new SeatTableWidget(drillPage);
    questionColumn->addWidget(table_, 1);
    cards_ = new QLabel(drillPage);
    cards_->setObjectName(QStringLiteral("Cards"));
    QFont cardFont = cards_->font();
    cardFont.setPointSizeF(cardFont.pointSizeF() * 3);
    cards_->setFont(cardFont);
    cards_->setAlignment(Qt::AlignCenter);
    questionColumn->addWidget(cards_);
    roll_ = new QLabel(drillPage);
    roll_->setObjectName(QStringLiteral("Roll"));
    roll_->setAlignment(Qt::AlignCenter);
    roll_->setFont(big);
    questionColumn->addWidget(roll_);
    answerRow_ = new QWidget(drillPage);
    answerLayout_ = new QHBoxLayout(answerRow_);
    answerLayout_->setContentsMargins(0, 0, 0, 0);
    questionColumn->addWidget(answerRow_);
    verdict_ = new QLabel(drillPage);
    verdict_->setObjectName(QStringLiteral("Verdict"));
    verdict_->setFont(big);
    verdict_->setWordWrap(true);
    questionColumn->addWidget(verdict_);
    mix_ = new QLabel(drillPage);
    mix_->setObjectName(QStringLiteral("Mix"));
    mix_->setWordWrap(true);
    questionColumn->addWidget(mix_);
    drillLayout->addLayout(questionColumn, 1);
    chart_ = new QLabel(drillPage);
    chart_->setObjectName(QStringLiteral("Chart"));
    chart_->setFixedSize(kPreviewWidth, kPreviewHeight);
    drillLayout->addWidget(chart_, 0, Qt::AlignTop);
    pages_->addWidget(drillPage);

    auto* summaryPage = new QWidget(pages_);
    auto* summaryLayout = new QHBoxLayout(summaryPage);
    summaryText_ = new QLabel(summaryPage);
    summaryText_->setObjectName(QStringLiteral("Summary"));
    summaryText_->setWordWrap(true);
    summaryText_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    summaryLayout->addWidget(summaryText_, 1);
    summaryMap_ = new QLabel(summaryPage);
    summaryMap_->setObjectName(QStringLiteral("SummaryMap"));
    summaryMap_->setFixedSize(kPreviewWidth, kPreviewHeight);
    summaryLayout->addWidget(summaryMap_, 0, Qt::AlignTop);
    pages_->addWidget(summaryPage);
    layout->addWidget(pages_, 1);
    setCentralWidget(central);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("HistoryStatus"));
    status_->setWordWrap(true);
    statusBar()->addWidget(status_, 1);
    freshButton_ = new QPushButton(tr("Start a fresh history"), this);
    freshButton_->setObjectName(QStringLiteral("FreshHistory"));
    freshButton_->setFocusPolicy(Qt::NoFocus);
    freshButton_->setToolTip(tr("The old file is kept beside it under another name."));
    statusBar()->addPermanentWidget(freshButton_);

    connect(modeBox_, &QComboBox::activated, this, [this](int index) {
        setMode(GradingMode(index));
        pages_->setFocus();
    });
    connect(lengthBox_, &QSpinBox::editingFinished, this, [this] { pages_->setFocus(); });
    connect(statistics, &QPushButton::clicked, this, [this] { showStatistics(); });
    connect(freshButton_, &QPushButton::clicked, this, [this] { startFreshHistory(); });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { reloadRanges(); });
    for (int i = 0; i < kMaxAnswerKeys; ++i) {
        auto* key = new QShortcut(QKeySequence(Qt::Key_1 + i), this);
        connect(key, &QShortcut::activated, this, [this, i] { pressAction(i); });
    }
    for (auto key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, [this] { confirm(); });
    }
    setMode(GradingMode::Roll);
    resize(900, 640);
}

QWidget* TrainerWindow::buildFilters() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(tr("Seats:"), box));
    for (int s = 0; s < kSeatCount; ++s) {
        auto* check = new QCheckBox(seatName(s), box);
        check->setObjectName(QStringLiteral("Seat") + seatName(s));
        check->setChecked(true);
        check->setFocusPolicy(Qt::NoFocus);
        row->addWidget(check);
        seatBoxes_.push_back(check);
        connect(check, &QCheckBox::toggled, this, [this] { applyFilters(); });
    }
    row->addSpacing(12);
    const QString kinds[kSpotKindCount] = {tr("open"), tr("vs open"), tr("vs 3-bet")};
    const char* names[kSpotKindCount] = {"KindOpen", "KindVersusOpen", "KindVersusThreeBet"};
    for (int k = 0; k < kSpotKindCount; ++k) {
        auto* check = new QCheckBox(kinds[k], box);
        check->setObjectName(QString::fromLatin1(names[k]));
        check->setChecked(true);
        check->setFocusPolicy(Qt::NoFocus);
        row->addWidget(check);
        kindBoxes_.push_back(check);
        connect(check, &QCheckBox::toggled, this, [this] { applyFilters(); });
    }
    row->addSpacing(12);
    handsBox_ = new QComboBox(box);
    handsBox_->setObjectName(QStringLiteral("Hands"));
    handsBox_->addItems({tr("All hands"), tr("Edge of the range"), tr("Mixed hands")});
    handsBox_->setFocusPolicy(Qt::ClickFocus);
    auto* handsLabel = new QLabel(tr("&Hands:"), box);
    handsLabel->setBuddy(handsBox_);
    row->addWidget(handsLabel);
    row->addWidget(handsBox_);
    row->addStretch();
    connect(handsBox_, &QComboBox::activated, this, [this] {
        applyFilters();
        pages_->setFocus();
    });
    return box;
}

uint64_t TrainerWindow::seed() const {
    return options_.seed != 0 ? options_.seed
                              : static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch());
}

void TrainerWindow::loadRanges() {
    watcher_.addPath(options_.rangeFile);
    try {
        drill_ = std::make_unique<Drill>(loadRangeBook(options_.rangeFile),
                                         QFileInfo(options_.rangeFile).absoluteFilePath(), seed());
    } catch (const RangeError& e) {
        spotTitle_->setText(rangeErrorText(options_.rangeFile, e));
    } catch (const std::exception& e) {
        spotTitle_->setText(QString::fromLocal8Bit(e.what()));
    }
}

// The range file changed on disk (the editor saved it, renaming a new file
// over the old one): drill the new ranges with the same filters. A card
// whose mix changed starts again, as at start. A file that no longer parses
// is reported and the ranges read before stay.
void TrainerWindow::reloadRanges() {
    if (!watcher_.files().contains(options_.rangeFile)) watcher_.addPath(options_.rangeFile);
    if (!drill_) {
        loadRanges();
        if (drill_ && history_.isOpen()) drill_->loadCards(history_.cards(drill_->rangeFile()));
        if (drill_) startSession();
        return;
    }
    try {
        auto drill =
            std::make_unique<Drill>(loadRangeBook(options_.rangeFile), drill_->rangeFile(), seed());
        drill->setFilters(drill_->filters());
        if (history_.isOpen()) drill->loadCards(history_.cards(drill->rangeFile()));
        drill_ = std::move(drill);
        status_->setText(
            tr("Read the changed ranges of %1.").arg(QFileInfo(options_.rangeFile).fileName()));
        // An open question may no longer exist; one that is answered stays
        // on screen until the player goes on.
        if (!feedback_ && pages_->currentIndex() == 0) nextQuestion();
    } catch (const RangeError& e) {
        status_->setText(
            tr("The changed file is not used: %1").arg(rangeErrorText(options_.rangeFile, e)));
    } catch (const std::exception& e) {
        status_->setText(
            tr("The changed file is not used: %1").arg(QString::fromLocal8Bit(e.what())));
    }
}

void TrainerWindow::openHistory() {
    history_.open(options_.historyFile);
    if (drill_ && history_.isOpen()) drill_->loadCards(history_.cards(drill_->rangeFile()));
    updateStatus();
}

void TrainerWindow::startFreshHistory() {
    history_.startFresh();
    if (drill_ && history_.isOpen()) drill_->loadCards(history_.cards(drill_->rangeFile()));
    updateStatus();
}

void TrainerWindow::updateStatus() {
    status_->setText(history_.stateText());
    const HistoryState state = history_.state();
    freshButton_->setVisible(state == HistoryState::Corrupt || state == HistoryState::Newer ||
                             state == HistoryState::Foreign);
}

void TrainerWindow::setMode(GradingMode mode) {
    mode_ = mode;
    modeBox_->setCurrentIndex(int(mode));
    modeLine_->setText(modeExplanation(mode));
    if (question_ && !feedback_) showQuestion();
}

void TrainerWindow::applyFilters() {
    if (!drill_) return;
    Filters filters;
    for (int s = 0; s < kSeatCount; ++s)
        filters.seats[static_cast<size_t>(s)] = seatBoxes_[static_cast<size_t>(s)]->isChecked();
    for (int k = 0; k < kSpotKindCount; ++k)
        filters.kinds[static_cast<size_t>(k)] = kindBoxes_[static_cast<size_t>(k)]->isChecked();
    filters.hands = HandFilter(handsBox_->currentIndex());
    drill_->setFilters(filters);
    drill_->setFocus({});
    if (!feedback_) nextQuestion();
}

void TrainerWindow::drillPairs(const std::vector<CardId>& cards) {
    if (!drill_ || cards.empty()) return;
    drill_->setFocus(cards);
    startSession();
}

void TrainerWindow::startSession() {
    session_ = Session(lengthBox_->value());
    progress_->setRange(0, session_.length());
    progress_->setValue(0);
    pages_->setCurrentIndex(0);
    nextQuestion();
}

void TrainerWindow::nextQuestion() {
    feedback_ = false;
    question_.reset();
    if (drill_) question_ = drill_->next(QDateTime::currentSecsSinceEpoch());
    if (!question_) {
        if (drill_) spotTitle_->setText(tr("No hand matches the filters."));
        cards_->clear();
        roll_->clear();
        verdict_->clear();
        mix_->clear();
        chart_->clear();
        for (QPushButton* b : answerButtons_) b->setEnabled(false);
        return;
    }
    showQuestion();
    answerClock_.restart();
}

void TrainerWindow::rebuildAnswers() {
    for (QPushButton* b : answerButtons_) delete b;
    for (QSlider* s : shareSliders_) delete s->parentWidget();
    answerButtons_.clear();
    shareSliders_.clear();
    shareLabels_.clear();
    const auto& actions = shownActions_;
    for (size_t i = 0; i < actions.size(); ++i) {
        const QString label = QStringLiteral("%1  %2").arg(i + 1).arg(actionLabel(actions[i]));
        if (mode_ == GradingMode::Frequencies) {
            auto* group = new QWidget(answerRow_);
            auto* column = new QVBoxLayout(group);
            auto* value = new QLabel(group);
            auto* slider = new QSlider(Qt::Horizontal, group);
            slider->setObjectName(QStringLiteral("Share%1").arg(i + 1));
            slider->setRange(0, 100);
            slider->setSingleStep(5);
            slider->setPageStep(10);
            column->addWidget(value);
            column->addWidget(slider);
            connect(slider, &QSlider::valueChanged, value, [value, label](int v) {
                value->setText(QStringLiteral("%1: %2 %").arg(label).arg(v));
            });
            value->setText(QStringLiteral("%1: 0 %").arg(label));
            answerLayout_->addWidget(group);
            shareSliders_.push_back(slider);
            shareLabels_.push_back(value);
        } else {
            auto* button = new QPushButton(label, answerRow_);
            button->setObjectName(QStringLiteral("Answer%1").arg(i + 1));
            button->setFocusPolicy(Qt::NoFocus);
            button->setMinimumHeight(40);
            connect(button, &QPushButton::clicked, this, [this, i] { pressAction(int(i)); });
            answerLayout_->addWidget(button);
            answerButtons_.push_back(button);
        }
    }
}

void TrainerWindow::showQuestion() {
    const BookSpot& spot = drill_->spotOf(*question_);
    if (shownSpot_ != spot.spot.index() || shownActions_ != spot.actions ||
        (mode_ == GradingMode::Frequencies) == shareSliders_.empty()) {
        shownSpot_ = spot.spot.index();
        shownActions_ = spot.actions;
        rebuildAnswers();
    }
    for (QPushButton* b : answerButtons_) b->setEnabled(true);
    for (QSlider* s : shareSliders_) s->setValue(0);
    spotTitle_->setText(QString::fromStdString(spot.spot.title()));
    table_->setSpot(spot.spot);
    cards_->setText(cardsHtml(question_->cards));
    roll_->setText(mode_ == GradingMode::Roll ? tr("Roll: %1").arg(question_->roll) : QString());
    verdict_->clear();
    mix_->setText(mode_ == GradingMode::Frequencies
                      ? tr("Set the shares (keys 1..%1 pick an action, arrows move it), then "
                           "Enter.")
                            .arg(spot.actions.size())
                      : tr("Keys 1..%1 answer.").arg(spot.actions.size()));
    chart_->clear();
}

void TrainerWindow::pressAction(int index) {
    if (!question_ || feedback_ || index >= int(shownActions_.size())) return;
    if (mode_ == GradingMode::Frequencies) {
        if (index < int(shareSliders_.size())) shareSliders_[size_t(index)]->setFocus();
        return;
    }
    Answer answer;
    answer.action = shownActions_[size_t(index)];
    grade(answer);
}

void TrainerWindow::confirm() {
    if (pages_->currentIndex() == 1) {
        startSession();
        return;
    }
    if (!question_) return;
    if (feedback_) {
        if (session_.finished())
            showSummary();
        else
            nextQuestion();
        return;
    }
    if (mode_ == GradingMode::Frequencies) {
        Answer answer;
        for (QSlider* s : shareSliders_) answer.shares.push_back(s->value());
        grade(answer);
    }
}

void TrainerWindow::grade(const Answer& answer) {
    const int answerMs = static_cast<int>(answerClock_.elapsed());
    const Graded graded =
        drill_->answer(*question_, mode_, answer, answerMs, QDateTime::currentMSecsSinceEpoch());
    if (history_.isOpen() && !history_.record(graded.review, graded.card))
        status_->setText(tr("This answer was not saved: %1").arg(history_.error()));
    session_.add(question_->card, graded.right, answerMs);
    progress_->setValue(session_.asked());
    feedback_ = true;
    pages_->setFocus();

    const BookSpot& spot = drill_->spotOf(*question_);
    const Hand hand = Hand::fromIndex(question_->card.hand);
    const Strategy& strategy = drill_->book().pack.strategy(spot.spot.index(), hand.index());
    QString verdict = graded.right ? tr("Right.") : tr("Wrong.");
    QStringList names;
    for (Action action : graded.rightActions)
        if (mode_ != GradingMode::AnyPlayed || action != answer.action || !graded.right)
            names << actionLabel(action);
    if (mode_ == GradingMode::Roll && !graded.right)
        verdict += tr(" The roll %1 says %2.").arg(question_->roll).arg(names.join(QString()));
    else if (mode_ == GradingMode::AnyPlayed && !names.isEmpty())
        verdict += graded.right ? tr(" Also right: %1.").arg(names.join(QStringLiteral(", ")))
                                : tr(" Right: %1.").arg(names.join(QStringLiteral(", ")));
    verdict_->setText(verdict);
    verdict_->setStyleSheet(graded.right ? QStringLiteral("color:#1a7f1a")
                                         : QStringLiteral("color:#c00000"));
    mix_->setText(mixText(hand, strategy, spot.actions) +
                  (session_.finished() ? tr("  (Space: the summary)") : tr("  (Space: next)")));
    chart_->setPixmap(outlinedChart(drill_->book().pack, spot.spot, hand));
    for (QPushButton* b : answerButtons_) b->setEnabled(false);
}

void TrainerWindow::showSummary() {
    const auto weakest = weakestSpots(session_.tallies(), 3);
    QString text = tr("<h2>Session over</h2><p>%1 of %2 right (%3 %), %4 s per answer.</p>")
                       .arg(session_.right())
                       .arg(session_.asked())
                       .arg(session_.asked() ? 100 * session_.right() / session_.asked() : 0)
                       .arg(session_.secondsPerAnswer(), 0, 'f', 1);
    if (!weakest.empty()) {
        text += tr("<p>Weakest spots:</p><ul>");
        for (int s : weakest) {
            const Tally t = total(session_.tallies()[s]);
            text += QStringLiteral("<li>%1: %2 of %3 right</li>")
                        .arg(QString::fromStdString(Spot::fromIndex(s).title()))
                        .arg(t.right)
                        .arg(t.answers);
        }
        text += QStringLiteral("</ul>");
        const QImage map = renderAccuracyMap(Spot::fromIndex(weakest.front()),
                                             session_.tallies()[weakest.front()]);
        summaryMap_->setPixmap(QPixmap::fromImage(map.scaled(
            kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    text += tr("<p>Enter starts a new session.</p>");
    summaryText_->setText(text);
    if (drill_) drill_->setFocus({});
    question_.reset();
    pages_->setCurrentIndex(1);
    pages_->setFocus();
}

StatisticsDialog* TrainerWindow::showStatistics() {
    if (!statistics_) {
        statistics_ = new StatisticsDialog(this);
        connect(statistics_, &StatisticsDialog::drillRequested, this,
                [this](const std::vector<CardId>& cards) { drillPairs(cards); });
        connect(statistics_, &StatisticsDialog::exportRequested, this, [this] { exportCsv(); });
    }
    statistics_->showTallies(
        bySpotIndex(history_.tallies(drill_ ? drill_->rangeFile() : QString())),
        drill_ ? &drill_->book() : nullptr);
    statistics_->show();
    statistics_->raise();
    return statistics_;
}

void TrainerWindow::exportCsv() {
    const QString file = chooseCsvFile ? chooseCsvFile() : QString();
    if (file.isEmpty()) return;
    if (history_.exportCsv(file))
        status_->setText(tr("Wrote every answer to %1.").arg(file));
    else
        status_->setText(tr("Cannot export: %1").arg(history_.error()));
}

}  // namespace trainer
