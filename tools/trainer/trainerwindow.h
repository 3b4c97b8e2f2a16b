#pragma once
// The trainer's window: a question (the spot's table, two cards, the roll),
// one answer button per action, the feedback with the spot's chart, the
// session's progress and its summary. Keys 1..n answer, Space or Enter goes
// on.
//
//   range file -> Drill -> question -> keys/buttons -> grade -> History (one commit) -> feedback

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "drill.h"
#include "history.h"

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QWidget;

namespace trainer {

class SeatTableWidget;
class StatisticsDialog;

struct TrainerOptions {
    QString rangeFile;
    QString historyFile;
    uint64_t seed = 0;
};

class TrainerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TrainerWindow(TrainerOptions options, QWidget* parent = nullptr);
    ~TrainerWindow() override;

    // Where "Export CSV" writes; a test sets the answer instead of a dialog.
    std::function<QString()> chooseCsvFile;

    History& history() { return history_; }
    Drill* drill() { return drill_.get(); }
    const std::optional<Question>& question() const { return question_; }
    const Session& session() const { return session_; }
    bool showingFeedback() const { return feedback_; }

    void setMode(GradingMode mode);
    void startSession();
    // The statistics view (created on first use).
    StatisticsDialog* showStatistics();
    // Drills only these pairs until the session ends.
    void drillPairs(const std::vector<CardId>& cards);

private:
    void buildWidgets();
    QWidget* buildFilters();
    void loadRanges();
    void reloadRanges();
    uint64_t seed() const;
    void openHistory();
    void startFreshHistory();
    void applyFilters();
    void nextQuestion();
    void showQuestion();
    void rebuildAnswers();
    void pressAction(int index);
    void confirm();
    void grade(const Answer& answer);
    void showSummary();
    void updateStatus();
    void exportCsv();

    TrainerOptions options_;
    History history_;
    std::unique_ptr<Drill> drill_;
    Session session_;
    std::optional<Question> question_;
    GradingMode mode_ = GradingMode::Roll;
    bool feedback_ = false;
    QElapsedTimer answerClock_;
    QFileSystemWatcher watcher_;
    std::vector<chartpack::Action> shownActions_;
    int shownSpot_ = -1;

    QStackedWidget* pages_ = nullptr;
    QComboBox* modeBox_ = nullptr;
    QLabel* modeLine_ = nullptr;
    QSpinBox* lengthBox_ = nullptr;
    std::vector<QCheckBox*> seatBoxes_;
    std::vector<QCheckBox*> kindBoxes_;
    QComboBox* handsBox_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* freshButton_ = nullptr;
    QLabel* spotTitle_ = nullptr;
    SeatTableWidget* table_ = nullptr;
    QLabel* cards_ = nullptr;
    QLabel* roll_ = nullptr;
    QWidget* answerRow_ = nullptr;
    QHBoxLayout* answerLayout_ = nullptr;
    std::vector<QPushButton*> answerButtons_;
    std::vector<QSlider*> shareSliders_;
    std::vector<QLabel*> shareLabels_;
    QLabel* verdict_ = nullptr;
    QLabel* mix_ = nullptr;
    QLabel* chart_ = nullptr;
    QLabel* summaryText_ = nullptr;
    QLabel* summaryMap_ = nullptr;
    StatisticsDialog* statistics_ = nullptr;
};

}  // namespace trainer
