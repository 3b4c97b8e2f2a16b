// Range notation written back from hands, and the range file rewritten after
// edits: only the changed action lines differ, every other byte stays.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "tabulo/chartpack/rangedocument.h"
#include "tabulo/chartpack/rangetext.h"

using namespace chartpack;

namespace {

std::string defaultText() {
    std::ifstream in(TABULO_RANGES_FILE, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(text.find(from, at + 1), std::string::npos) << "not unique: " << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

int hand(const char* key) {
    return handFromKey(key)->index();
}

Strategy mix(Action a, Weight wa, Action b = Action::Fold, Weight wb = 0) {
    Strategy s;
    s.set(a, wa);
    s.set(b, wb);
    return s;
}

}  // namespace

TEST(RangeText, WritesTheShortestUsualTokens) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"AA, KK, QQ", "QQ+"},
        {"AA", "AA"},
        {"22", "22"},
        {"55, 77, 66", "77-55"},
        {"AKs", "AKs"},
        {"AJs, AQs, AKs", "AJs+"},
        {"A3s, A4s, A5s", "A5s-A3s"},
        {"AKo, AKs", "AK"},
        {"ATs+, ATo+", "AT+"},
        {"KQo", "KQo"},
        {"AQo, 22+, AKs", "22+, AKs, AQo"},
        {"T9s, 98s, KQo, KJo, QJs", "QJs, T9s, 98s, KJo+"},  // offsuit tokens last
        {"A2s, A4s, AA, KK, 33", "KK+, 33, A4s, A2s"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(formatRange(parseRange(in)), out) << in;
    std::array<Weight, kHandCount> weights{};
    weights[static_cast<size_t>(hand("AA"))] = kFullWeight;
    weights[static_cast<size_t>(hand("KK"))] = kFullWeight;
    weights[static_cast<size_t>(hand("AJo"))] = 6000;
    weights[static_cast<size_t>(hand("KQo"))] = 2500;
    weights[static_cast<size_t>(hand("KJo"))] = 2500;
    EXPECT_EQ(formatWeightedRange(weights), "KK+, AJo:0.6, KJo+:0.25");
}

TEST(RangeText, AnySetOfHandsReadsBackAsItself) {
    std::mt19937 random(15);
    for (int round = 0; round < 500; ++round) {
        HandSet hands;
        std::array<Weight, kHandCount> weights{};
        const int density = static_cast<int>(random() % 100);
        for (int h = 0; h < kHandCount; ++h) {
            if (static_cast<int>(random() % 100) >= density) continue;
            hands.set(static_cast<size_t>(h));
            weights[static_cast<size_t>(h)] = static_cast<Weight>(1 + random() % kFullWeight);
        }
        ASSERT_EQ(parseRange(formatRange(hands)), hands) << formatRange(hands);
        std::array<Weight, kHandCount> back{};
        for (const auto& token : parseRangeTokens(formatWeightedRange(weights)))
            for (int h = 0; h < kHandCount; ++h)
                if (token.hands.test(static_cast<size_t>(h)))
                    back[static_cast<size_t>(h)] = token.weight;
        ASSERT_EQ(back, weights);
    }
}

TEST(RangeDocument, UneditedTextIsReturnedByteForByte) {
    for (const std::string& text :
         {defaultText(),
          "\xEF\xBB\xBF" + replaced(defaultText(), "\n[UTG open]\n", "\r\n[UTG open]\r\n")}) {
        RangeDocument doc;
        doc.load(text);
        EXPECT_FALSE(doc.modified());
        EXPECT_EQ(doc.text(), text);
        // An edit undone by hand leaves the text as it was too.
        const Strategy before = doc.pack().strategy(Spot{1, 0}.index(), hand("AJo"));
        doc.setStrategy(Spot{1, 0}.index(), hand("AJo"), Strategy::pure(Action::Call));
        doc.setStrategy(Spot{1, 0}.index(), hand("AJo"), before);
        EXPECT_EQ(doc.text(), text);
    }
}

TEST(RangeDocument, AnEditRewritesOnlyTheChangedActionsLines) {
    RangeDocument doc;
    doc.load(defaultText());
    const int mp_vs_utg = Spot{1, 0}.index();
    doc.setStrategy(mp_vs_utg, hand("AJo"), mix(Action::Call, 6000, Action::RaiseFold, 2000));
    const std::string want = replaced(
        replaced(defaultText(), "raise/fold:    A5s-A4s\ncall:          JJ-88, AQs-AJs, KQs\n",
                 "raise/fold: A5s-A4s, AJo:0.2\ncall: JJ-88, AQs-AJs, KQs, AJo:0.6\n"),
        "[MP vs UTG]\n", "[MP vs UTG]\n");
    EXPECT_EQ(doc.text(), want);
    EXPECT_EQ(parseRangeFile(doc.text()), doc.pack());
}

TEST(RangeDocument, NewActionsGoAtTheSectionsEndAndEmptiedOnesLoseTheirLinesNotComments) {
    const std::string text =
        "# mine\r\n[UTG open]\r\nraise: AA # aces\r\n  KK\r\n# keep me\r\n\r\n[MP open]\r\nraise: "
        "AA\r\n";
    std::string all = text;
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot spot = Spot::fromIndex(s);
        if (spot.hasSection() && !spot.isSeat())
            all += "[" + spot.sectionName() + "]\r\nraise/reraise: AA\r\n";
        else if (spot.hasSection() && spot.hero > 1)
            all += "[" + spot.sectionName() + "]\r\n";
    }
    all += "[SB vs BB 3bet]\r\nraise/reraise: AA";  // no final line end
    all = replaced(all, "[SB vs BB 3bet]\r\nraise/reraise: AA\r\n", "");
    RangeDocument doc;
    doc.load(all);
    doc.setStrategy(Spot{0, 0}.index(), hand("AA"), Strategy::pure(Action::Fold));
    doc.setStrategy(Spot{0, 0}.index(), hand("KK"), Strategy::pure(Action::Fold));
    doc.setStrategy(Spot{2, 2}.index(), hand("QQ"), Strategy::pure(Action::Open));
    doc.setStrategy(Spot{4, 5}.index(), hand("72o"), mix(Action::Call, 5000));
    std::string want = replaced(all, "raise: AA # aces\r\n  KK\r\n# keep me", "# keep me");
    want = replaced(want, "[CO open]\r\n", "[CO open]\r\nraise: QQ\r\n");
    want = replaced(want, "[SB vs BB 3bet]\r\nraise/reraise: AA",
                    "[SB vs BB 3bet]\r\nraise/reraise: AA\r\ncall: 72o:0.5\r\n");
    EXPECT_EQ(doc.text(), want);
    EXPECT_EQ(parseRangeFile(doc.text()), doc.pack());
}

TEST(RangeDocument, SpotsAddedToAPartialFileGetTheirSectionsAtTheEnd) {
    RangeDocument doc;
    doc.load("# mine\n[MP vs UTG]\ncall: AA");  // no final line end
    ASSERT_FALSE(doc.pack().holds(Spot{0, 0}));
    doc.addSpot(Spot{2, 0}.index());
    doc.addSpot(Spot{0, 0}.index());
    doc.setStrategy(Spot{0, 0}.index(), hand("AA"), Strategy::pure(Action::Open));
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.text(),
              "# mine\n[MP vs UTG]\ncall: AA\n\n[UTG open]\nraise: AA\n\n[CO vs UTG]\n");
    EXPECT_EQ(parseRangeFile(doc.text()), doc.pack());
}

TEST(RangeDocument, RandomEditsReadBackAsTheEditedCharts) {
    std::mt19937 random(7);
    RangeDocument doc;
    doc.load(defaultText());
    for (int round = 0; round < 40; ++round) {
        for (int edit = 0; edit < 8; ++edit) {
            const int spot = static_cast<int>(random() % kSpotCount);
            if (!Spot::fromIndex(spot).hasSection()) continue;
            const auto actions = spotActions(Spot::fromIndex(spot));
            Strategy s;
            int room = kFullWeight;
            for (Action a : actions) {
                const auto w = static_cast<Weight>(random() % 3 == 0 ? 0 : random() % (room + 1));
                s.set(a, w);
                room -= w;
            }
            doc.setStrategy(spot, static_cast<int>(random() % kHandCount), s);
        }
        const std::string text = doc.text();
        ASSERT_EQ(parseRangeFile(text), doc.pack()) << "round " << round;
        doc.load(text);
        EXPECT_EQ(doc.text(), text);
    }
}
