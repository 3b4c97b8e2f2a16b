// The range editor's model on its own, without a window: how often it says
// that something changed, undo by stroke, typed range text kept until it
// applies, a file that does not read kept as text, and spots a file lacks.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "editormodel.h"

using namespace chartpack;
using ranges::EditorModel;

namespace {

std::string defaultText() {
    std::ifstream in(TABULO_RANGES_FILE, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int hand(const char* key) {
    return handFromKey(key)->index();
}

constexpr int kMpVsUtg = 6;  // Spot{1, 0}

// A model on the default file, counting its signals.
class Model : public testing::Test {
protected:
    void SetUp() override {
        model_.open(defaultText());
        model_.setSpot(kMpVsUtg);
        QObject::connect(&model_, &EditorModel::changed, [this] { ++changed_; });
        QObject::connect(&model_, &EditorModel::painted, [this](int h) { painted_.push_back(h); });
    }
    Weight weight(const char* key, Action action) const {
        return model_.pack().weight(kMpVsUtg, hand(key), action);
    }

    EditorModel model_;
    int changed_ = 0;
    std::vector<int> painted_;
};

}  // namespace

TEST_F(Model, AStrokeSaysChangedOnceAtItsEndAndUndoesAsOneStep) {
    model_.setBrush(Action::Call, 6000);
    // One click: press, paint, release.
    model_.beginStroke();
    model_.paint(hand("AJo"));
    EXPECT_EQ(changed_, 0);
    model_.endStroke();
    EXPECT_EQ(changed_, 1);
    EXPECT_EQ(painted_, std::vector<int>{hand("AJo")});

    // A drag across three cells, one of them already painted so.
    model_.beginStroke();
    for (const char* key : {"ATo", "AJo", "A9o"}) model_.paint(hand(key));
    model_.endStroke();
    EXPECT_EQ(changed_, 2);
    EXPECT_EQ(painted_, (std::vector<int>{hand("AJo"), hand("ATo"), hand("A9o")}));
    EXPECT_EQ(weight("A9o", Action::Call), 6000);

    // A stroke that changes nothing says nothing and is no step.
    model_.beginStroke();
    model_.paint(hand("ATo"));
    model_.endStroke();
    EXPECT_EQ(changed_, 2);

    model_.undo();
    EXPECT_EQ(weight("A9o", Action::Call), 0);
    EXPECT_EQ(weight("AJo", Action::Call), 6000);
    model_.undo();
    EXPECT_EQ(weight("AJo", Action::Call), 0);
    EXPECT_FALSE(model_.canUndo());
    EXPECT_FALSE(model_.modified());
    EXPECT_EQ(changed_, 4);
}

TEST_F(Model, TypedTextStaysWithItsChartAndActionUntilItApplies) {
    model_.type(Action::Call, "AA, K1s");
    EXPECT_THROW(model_.applyTyped(Action::Call), RangeError);
    EXPECT_FALSE(model_.modified());
    model_.setSpot(Spot{2, 0}.index());
    EXPECT_EQ(model_.typed(Action::Call), nullptr);
    model_.setSpot(kMpVsUtg);
    ASSERT_NE(model_.typed(Action::Call), nullptr);
    EXPECT_EQ(*model_.typed(Action::Call), "AA, K1s");
    EXPECT_TRUE(model_.unsaved());

    model_.type(Action::Call, "[50]JJ, TT[/50], AhQh");
    changed_ = 0;
    model_.applyTyped(Action::Call);
    EXPECT_EQ(changed_, 1);
    EXPECT_EQ(model_.typed(Action::Call), nullptr);
    EXPECT_EQ(weight("JJ", Action::Call), 5000);
    EXPECT_EQ(weight("AQs", Action::Call), 2500);
    EXPECT_EQ(model_.actionRange(Action::Call), "JJ-TT:0.5, AQs:0.25");
    EXPECT_EQ(model_.actionRange(Action::Call, RangeFormat::Brackets),
              "[50]JJ-TT[/50], [25]AQs[/25]");
}

TEST(ModelFile, TextThatDoesNotReadIsKeptAsTextAndSavedAsTyped) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("ranges.txt");
    EditorModel model;
    model.open("[UTG open]\nraise: AA, K1s\n");
    ASSERT_TRUE(model.textMode());
    EXPECT_EQ(model.fileError()->line(), 2);
    EXPECT_EQ(model.fileError()->token(), "K1s");
    EXPECT_TRUE(model.unsaved());
    model.editFileText("[UTG open]\nraise: AA, K2s\n# half done");
    QString error;
    ASSERT_TRUE(model.save(path, &error)) << error.toStdString();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), "[UTG open]\nraise: AA, K2s\n# half done");

    model.editFileText("[UTG open]\nraise: AA, [50]K3s\n");
    EXPECT_FALSE(model.readFileText());
    EXPECT_EQ(model.fileError()->token(), "[50]K3s");
    model.editFileText("[UTG open]\nraise: AA, [50]K3s[/50]\n");
    EXPECT_TRUE(model.readFileText());
    EXPECT_FALSE(model.textMode());
    EXPECT_EQ(model.pack().weight(0, hand("K3s"), Action::Open), 5000);
    EXPECT_TRUE(model.holds(0));
    EXPECT_FALSE(model.holds(kMpVsUtg));
}

TEST(ModelFile, ASpotTheFileLacksTakesNoPaintUntilAddedAndSavingKeepsTheHistory) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("ranges.txt");
    EditorModel model;
    model.open("[UTG open]\nraise: AA\n");
    model.setSpot(kMpVsUtg);
    model.setBrush(Action::Call, kFullWeight);
    model.paint(hand("KK"));
    EXPECT_THROW(model.setActionRange(Action::Call, "QQ"), RangeError);
    EXPECT_FALSE(model.modified());
    model.addSpot(kMpVsUtg);
    model.paint(hand("KK"));
    model.setActionRange(Action::Call, "KK, QQ");
    QString error;
    ASSERT_TRUE(model.save(path, &error)) << error.toStdString();
    EXPECT_FALSE(model.modified());
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), "[UTG open]\nraise: AA\n\n[MP vs UTG]\ncall: KK-QQ\n");

    // Undone step by step, the adding of the spot last.
    model.undo();
    EXPECT_EQ(model.pack().weight(kMpVsUtg, hand("QQ"), Action::Call), 0);
    EXPECT_EQ(model.pack().weight(kMpVsUtg, hand("KK"), Action::Call), kFullWeight);
    model.undo();
    model.undo();
    EXPECT_FALSE(model.holds(kMpVsUtg));
    EXPECT_FALSE(model.canUndo());
    EXPECT_EQ(model.document().text(), "[UTG open]\nraise: AA\n\n");
    model.redo();
    EXPECT_TRUE(model.holds(kMpVsUtg));
}
