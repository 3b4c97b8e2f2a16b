// The range file: its format and errors, and the default pack's ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tabulo/chartpack/handsgrid.h"
#include "tabulo/chartpack/rangefile.h"

using namespace chartpack;

namespace {

// Every section the file needs, each with a token, plus extra text.
std::string completeFile(const std::string& extra = {}, const std::string& skip = {}) {
    std::string text = "# all sections\n";
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot spot = Spot::fromIndex(s);
        if (spot.hero == kBigBlind && spot.isSeat()) continue;
        const std::string name = spot.isSeat() ? spot.caption() + " open" : spot.title();
        if (name == skip) continue;
        text += "[" + name + "]\n";
        text += spot.isSeat() ? "raise: AA\n" : "raise/reraise: AA\n";
    }
    return text + extra;
}

const ChartPack& defaultPack() {
    static const ChartPack pack = loadRangeFile(TABULO_RANGES_FILE);
    return pack;
}

int combos(const HandSet& set) {
    int total = 0;
    for (int h = 0; h < kHandCount; ++h) {
        if (!set.test(static_cast<size_t>(h))) continue;
        const Hand hand = Hand::fromIndex(h);
        total += hand.isPair() ? 6 : hand.isSuited() ? 4 : 12;
    }
    return total;
}

HandSet fromKeys(std::initializer_list<const char*> keys) {
    HandSet set;
    for (const char* key : keys) set.set(static_cast<size_t>(handFromKey(key)->index()));
    return set;
}

struct FileError {
    std::string text;
    int line;
    std::string token;
    std::string reason;
};

FileError errorOf(const std::string& text) {
    try {
        parseRangeFile(text);
    } catch (const RangeError& e) {
        return {text, e.line(), e.token(), e.reason()};
    }
    return {text, 0, "", "accepted"};
}

}  // namespace

TEST(Spot, KeysTitlesAndCaptionsFollowTheSeatGrid) {
    EXPECT_EQ((Spot{0, 0}.key()), "UTG");
    EXPECT_EQ((Spot{1, 0}.key()), "MPvsUTG");
    EXPECT_EQ((Spot{0, 1}.key()), "UTGvsMP");
    EXPECT_EQ((Spot{1, 0}.title()), "MP vs UTG");
    EXPECT_EQ((Spot{0, 1}.title()), "UTG vs MP 3bet");
    EXPECT_EQ((Spot{4, 5}.title()), "SB vs BB 3bet");
    EXPECT_EQ((Spot{1, 0}.caption()), "vs UTG");
    EXPECT_EQ((Spot{5, 5}.key()), "BB");
}

TEST(RangeFile, SectionsActionsAndContinuationLinesFillTheSpots) {
    std::string file;
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot spot = Spot::fromIndex(s);
        if (spot.hero == kBigBlind && spot.isSeat()) continue;
        const std::string name = spot.isSeat() ? spot.caption() + " open" : spot.title();
        file += "[" + name + "]\n";
        if (name == "MP vs UTG") {
            file +=
                "call: JJ-99 # a comment: with a colon\n"
                "      AQs    # continues call\n"
                "raise/reraise: QQ+,\n"
                "   AK\n"
                "raise/fold: A5s\n";
        } else if (name == "BB vs SB") {
            file += "call: 72o\nraise/reraise: AA\n";
        } else if (spot.isSeat()) {
            file += "raise: AA\n";
        }
    }
    const ChartPack filled = parseRangeFile(file);
    const int mp_vs_utg = Spot{1, 0}.index();
    EXPECT_EQ(filled.hands(mp_vs_utg, Action::Call), fromKeys({"JJ", "TT", "99", "AQs"}));
    EXPECT_EQ(filled.hands(mp_vs_utg, Action::RaiseReraise),
              fromKeys({"AA", "KK", "QQ", "AKs", "AKo"}));
    EXPECT_EQ(filled.hands(mp_vs_utg, Action::RaiseFold), fromKeys({"A5s"}));
    EXPECT_EQ(filled.played(mp_vs_utg).count(), 10u);
    // Sections without actions fold everything.
    EXPECT_EQ(filled.played(Spot{2, 0}.index()).count(), 0u);
    // The big blind's own chart is its defence against the small blind.
    for (int h = 0; h < kHandCount; ++h)
        EXPECT_EQ(filled.action(Spot{5, 5}.index(), h), filled.action(Spot{5, 4}.index(), h));
    EXPECT_EQ(filled.action(Spot{5, 5}, *handFromKey("72o")), Action::Call);
}

TEST(RangeFile, ErrorsNameTheLineAndTheToken) {
    const std::string all = completeFile();
    const int last = static_cast<int>(std::count(all.begin(), all.end(), '\n'));
    const std::vector<FileError> cases = {
        {"raise: AA\n", 1, "raise", "outside any section"},
        {"\n  AA\n", 2, "AA", "outside any section"},
        {"[UTG open]\nAA\n", 2, "AA", "needs an action first"},
        {"[UTG open]\ncall: AA\n", 2, "call", "only raise:"},
        {"[MP vs UTG]\nraise: AA\n", 2, "raise", "not raise:"},
        {"[MP vs UTG]\nthreebet: AA\n", 2, "threebet", "unknown action"},
        {"[UTG open]\nraise: AA, AKx\n", 2, "AKx", "not a suit mark"},
        {"[XYZ open]\n", 1, "[XYZ open]", "unknown seat 'XYZ'"},
        {"[BB open]\n", 1, "[BB open]", "opens nothing"},
        {"[UTG vs MP]\n", 1, "[UTG vs MP]", "write [UTG vs MP 3bet]"},
        {"[MP vs UTG 3bet]\n", 1, "[MP vs UTG 3bet]", "write [MP vs UTG]"},
        {"[MP vs MP]\n", 1, "[MP vs MP]", "against itself"},
        {"[MP vs UTG 4bet]\n", 1, "[MP vs UTG 4bet]", "a section is"},
        {"[UTG]\n", 1, "[UTG]", "a section is"},
        {"[UTG open\n", 1, "[UTG open", "ends with ']'"},
        {"[UTG open]\n\n[UTG open]\n", 3, "[UTG open]", "first on line 1"},
        // A hand's frequencies in one spot add up to at most 100%.
        {"[MP vs UTG]\ncall: JJ, AKs\n# next\nraise/reraise: AK\n", 4, "AK",
         "AKs plays call 100% (line 2) + raise/reraise 100% (line 4) = 200%"},
        {"[CO vs MP]\nraise/fold: A5s-A2s\ncall: A3s+\n", 3, "A3s+",
         "A5s plays call 100% (line 3) + raise/fold 100% (line 2) = 200%"},
        {"[MP vs UTG]\ncall: AJo:0.6\nraise/fold: KK,\n  AJo : 45%\n[CO vs UTG]\n", 4, "AJo:45%",
         "AJo plays call 60% (line 2) + raise/fold 45% (line 4) = 105%"},
        {"[MP vs UTG]\ncall: AJo:1.5\n", 2, "AJo:1.5", "a frequency is 0 to 1"},
        {"[MP vs UTG]\ncall: AJo:-0.5\n", 2, "AJo:-0.5", "a frequency is 0 to 1"},
        {"[MP vs UTG]\ncall: AA,KK:0.5,AKx:0.75\n", 2, "AKx:0.75", "not a suit mark"},
        {"[MP vs UTG]\nthreebet:0.5 AA\n", 2, "threebet", "unknown action"},
        // Each combination's frequencies add up to at most 100% as well.
        {"[MP vs UTG]\ncall: AhKh\nraise/fold: AhKh:0.5, AsKs\n", 3, "AhKh:0.5",
         "AhKh plays call 100% (line 2) + raise/fold 50% (line 3) = 150%"},
        // Brackets close on the line they open.
        {"[MP vs UTG]\ncall: [50]AKs,\n  KQs[/50]\n", 2, "[50]AKs", "is not closed"},
        {all + "[MP vs UTG]\n", last + 1, "[MP vs UTG]", "section repeated"},
    };
    for (const auto& expected : cases) {
        const FileError got = errorOf(expected.text);
        EXPECT_EQ(got.line, expected.line) << expected.text;
        EXPECT_EQ(got.token, expected.token) << expected.text;
        EXPECT_NE(got.reason.find(expected.reason), std::string::npos)
            << expected.text << "\n -> " << got.reason;
    }
}

TEST(RangeFile, MixedHandsSplitTheirFrequenciesAndTheRestFolds) {
    // Weights as solvers export them: decimals, percentages, pasted lists with
    // any spacing; a later mention under the same action replaces the earlier.
    const ChartPack pack =
        parseRangeFile(completeFile("[MP vs UTG]\n"
                                    "call: AJo:0.6, KK:40%, AK, AKs:0.5\n"
                                    "raise/reraise: AA, KK : .5,AJo:0.4\n"
                                    "raise/fold: A5s:0.3333, A4s:12.5%\n",
                                    "MP vs UTG"));
    const int s = Spot{1, 0}.index();
    auto w = [&](const char* key, Action a) {
        return pack.weight(s, handFromKey(key)->index(), a);
    };
    EXPECT_EQ(w("AJo", Action::Call), 6000);
    EXPECT_EQ(w("AJo", Action::RaiseReraise), 4000);
    EXPECT_EQ(w("AJo", Action::Fold), 0);
    EXPECT_EQ(w("KK", Action::Call), 4000);
    EXPECT_EQ(w("KK", Action::RaiseReraise), 5000);
    EXPECT_EQ(w("KK", Action::Fold), 1000);
    EXPECT_EQ(w("AKs", Action::Call), 5000);
    EXPECT_EQ(w("AKo", Action::Call), 10000);
    EXPECT_EQ(w("A5s", Action::RaiseFold), 3333);
    EXPECT_EQ(w("A4s", Action::RaiseFold), 1250);
    EXPECT_FALSE(pack.strategy(s, handFromKey("KK")->index()).isPure());
    EXPECT_TRUE(pack.strategy(s, handFromKey("AA")->index()).isPure());
    EXPECT_TRUE(pack.strategy(s, handFromKey("72o")->index()).isPure());
    // The main action of a mixed hand is its most frequent one.
    EXPECT_EQ(pack.action(s, handFromKey("AJo")->index()), Action::Call);
    EXPECT_EQ(pack.action(s, handFromKey("KK")->index()), Action::RaiseReraise);
    EXPECT_EQ(pack.action(s, handFromKey("A4s")->index()), Action::Fold);
    EXPECT_TRUE(pack.played(s).test(static_cast<size_t>(handFromKey("A4s")->index())));
}

TEST(RangeFile, SameHandTwiceUnderOneActionIsAccepted) {
    const ChartPack pack =
        parseRangeFile(completeFile("[MP vs UTG]\ncall: AQs, AQ\ncall: AQs-AJs\n", "MP vs UTG"));
    EXPECT_EQ(pack.hands(Spot{1, 0}.index(), Action::Call), fromKeys({"AQs", "AQo", "AJs"}));
}

TEST(RangeFile, WindowsLineEndsAndAByteOrderMarkAreRead) {
    std::string text =
        "\xEF\xBB\xBF" + completeFile("[MP vs UTG]\ncall: AQs,\n  AJs\n", "MP vs UTG");
    std::string crlf;
    for (char ch : text) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    const ChartPack pack = parseRangeFile(crlf);
    EXPECT_EQ(pack.hands(Spot{1, 0}.index(), Action::Call), fromKeys({"AQs", "AJs"}));
    EXPECT_EQ(pack.opens(0), fromKeys({"AA"}));
}

TEST(RangeFile, AFileMayHoldOnlySomeSpots) {
    const ChartPack pack = parseRangeFile(
        "[MP vs UTG]\n"
        "call: AhKh:1, AsKs:1, QQ@50\n"
        "[50]JJ, AQs[/50]\n"
        "KhQh: 0.5, KsQs: 1\n"
        "raise/reraise: AA\n"
        "[BB vs SB]\n"
        "raise/reraise: AA\n");
    EXPECT_EQ(heldSpotKeys(pack), "MPvsUTG BBvsSB BB");
    EXPECT_EQ(pack.heldCount(), 3);
    EXPECT_FALSE(pack.complete());
    EXPECT_FALSE(pack.holds(Spot{0, 0}));
    const int s = Spot{1, 0}.index();
    for (const char* key : {"AKs", "QQ", "JJ", "AQs"})
        EXPECT_EQ(pack.weight(s, handFromKey(key)->index(), Action::Call), 5000) << key;
    EXPECT_EQ(pack.weight(s, handFromKey("KQs")->index(), Action::Call), 3750);
    EXPECT_EQ(pack.action(Spot{5, 5}, *handFromKey("AA")), Action::RaiseReraise);
    // The checks look only at the spots the file holds; complete wants them all.
    EXPECT_TRUE(checkConsistency(pack).empty());
    const auto complete = checkConsistency(pack, true);
    ASSERT_EQ(complete.size(), 33u);
    EXPECT_EQ(complete.front(), "[UTG open]: section missing from the file");
    EXPECT_TRUE(checkConsistency(parseRangeFile(completeFile()), true).size() ==
                checkConsistency(parseRangeFile(completeFile())).size());
    EXPECT_EQ(parseRangeFile("# nothing yet\n").heldCount(), 0);
}

TEST(RangeFile, RoundedMeansNeverPlayAHandMoreThan100Percent) {
    // Call 6/12 of a step and raise/fold 119994/12: both means end in a half
    // and round up, to 1 and 10000; the hand keeps 100%, call gives way.
    const ChartPack pack =
        parseRangeFile("[MP vs UTG]\ncall: AhKs:0.0006\nraise/fold: AKo, AhKs:0.9994\n");
    const Strategy& ako = pack.strategy(Spot{1, 0}.index(), handFromKey("AKo")->index());
    EXPECT_EQ(ako.weight(Action::Call), 0);
    EXPECT_EQ(ako.weight(Action::RaiseFold), 10000);
    EXPECT_EQ(ako.weight(Action::Fold), 0);
}

TEST(RangeFile, MissingFileIsReported) {
    EXPECT_THROW(loadRangeFile("/nonexistent/ranges.txt"), std::runtime_error);
}

TEST(Consistency, FindsOpensOffTheGridAnd3BetAnswersOutsideTheOpen) {
    ChartPack pack = defaultPack();
    ASSERT_TRUE(checkConsistency(pack).empty());
    pack.setAction(Spot{0, 0}.index(), handFromKey("72o")->index(), Action::Open);
    pack.setAction(Spot{0, 2}.index(), handFromKey("A5s")->index(), Action::Call);
    pack.setAction(Spot{3, 1}.index(), handFromKey("AA")->index(), Action::Call);
    const auto faults = checkConsistency(pack);
    std::string all;
    for (const auto& f : faults) all += f + "\n";
    EXPECT_NE(all.find("UTG opens hands the hand grid does not give it: 72o"), std::string::npos)
        << all;
    EXPECT_NE(all.find("UTG vs CO 3bet: plays hands CO 3-bets but UTG never opens: A5s"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("BU vs MP: AA does not raise/reraise"), std::string::npos) << all;
    // UTG vs CO 3bet now continues with A5s, which UTG vs BU 3bet folds.
    EXPECT_NE(all.find("UTG vs BU 3bet folds hands that UTG vs CO 3bet plays: A5s"),
              std::string::npos)
        << all;
}

TEST(DefaultPack, OpenRangesAreTheHandGridColoursCellForCell) {
    const ChartPack& pack = defaultPack();
    for (int seat = 0; seat < kBigBlind; ++seat) {
        for (int r = 0; r < kRankCount; ++r) {
            for (int c = 0; c < kRankCount; ++c) {
                const Hand hand{r, c};
                const bool grid_opens = static_cast<int>(handsGridColour(r, c)) <= seat;
                EXPECT_EQ(pack.action(Spot{seat, seat}, hand),
                          grid_opens ? Action::Open : Action::Fold)
                    << kSeatNames[static_cast<size_t>(seat)] << " " << hand.key();
            }
        }
    }
    // Spot checks straight from the grid: UTG opens red only, MP adds orange...
    EXPECT_EQ(pack.action(Spot{0, 0}, *handFromKey("A5s")), Action::Fold);
    EXPECT_EQ(pack.action(Spot{1, 1}, *handFromKey("A5s")), Action::Open);
    EXPECT_EQ(pack.action(Spot{3, 3}, *handFromKey("K6s")), Action::Fold);
    EXPECT_EQ(pack.action(Spot{4, 4}, *handFromKey("K6s")), Action::Open);
    EXPECT_EQ(pack.action(Spot{4, 4}, *handFromKey("72o")), Action::Fold);
}

TEST(DefaultPack, OpensWidenFromUtgToTheButtonAtSensibleSizes) {
    const ChartPack& pack = defaultPack();
    int previous = 0;
    for (int seat = 0; seat < kBigBlind; ++seat) {
        const int size = combos(pack.opens(seat));
        EXPECT_GT(size, previous) << kSeatNames[static_cast<size_t>(seat)];
        previous = size;
    }
    const double utg = combos(pack.opens(0)) / 1326.0;
    const double bu = combos(pack.opens(3)) / 1326.0;
    EXPECT_GT(utg, 0.12);
    EXPECT_LT(utg, 0.22);
    EXPECT_GT(bu, 0.38);
    EXPECT_LT(bu, 0.60);
}

TEST(DefaultPack, PassesEveryConsistencyCheck) {
    const auto faults = checkConsistency(defaultPack());
    for (const auto& fault : faults) ADD_FAILURE() << fault;
}

TEST(DefaultPack, AnswersToA3BetComeFromTheHeroesOpenRange) {
    const ChartPack& pack = defaultPack();
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot spot = Spot::fromIndex(s);
        if (!spot.facesThreeBet()) continue;
        const HandSet outside = pack.played(s) & ~pack.opens(spot.hero);
        EXPECT_TRUE(outside.none()) << spot.title();
        EXPECT_GT(pack.played(s).count(), 5u) << spot.title();
    }
}

TEST(DefaultPack, ReraisesAreStrongHandsAndRaiseFoldsAreSuitedBluffs) {
    const ChartPack& pack = defaultPack();
    // Value: pairs of nines and up, or two cards ten or higher.
    auto strong = [](Hand hand) { return hand.isPair() ? hand.row <= 5 : hand.low() <= 4; };
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot spot = Spot::fromIndex(s);
        if (spot.isSeat() && spot.hero != kBigBlind) continue;
        int bluffs = 0;
        for (int h = 0; h < kHandCount; ++h) {
            const Hand hand = Hand::fromIndex(h);
            const Action action = pack.action(s, h);
            if (action == Action::RaiseReraise) {
                EXPECT_TRUE(strong(hand)) << spot.title() << " " << hand.key();
            }
            if (action == Action::RaiseFold) {
                ++bluffs;
                EXPECT_TRUE(hand.isSuited()) << spot.title() << " " << hand.key();
                // Polarised: a bluff is never better than every call.
                EXPECT_FALSE(strong(hand) && hand.high() == 0 && hand.low() <= 2)
                    << spot.title() << " " << hand.key();
            }
        }
        EXPECT_GT(bluffs, 0) << spot.title();
        EXPECT_GE(pack.hands(s, Action::RaiseReraise).count(), 3u) << spot.title();
    }
}

TEST(DefaultPack, BlindsDefendWiderThanSeatsWithPlayersBehindThem) {
    const ChartPack& pack = defaultPack();
    // Against the same opener the big blind continues widest.
    for (int opener = 0; opener < kSmallBlind; ++opener) {
        const auto bb = pack.played(Spot{kBigBlind, opener}.index()).count();
        for (int hero = opener + 1; hero < kBigBlind; ++hero)
            EXPECT_GT(bb, pack.played(Spot{hero, opener}.index()).count())
                << kSeatNames[static_cast<size_t>(hero)] << " vs "
                << kSeatNames[static_cast<size_t>(opener)];
    }
}
