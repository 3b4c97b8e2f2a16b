// The rendered pack: every file, its size, and pixels that agree with the
// hand grid and with the range data.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <random>
#include <vector>

#include "tabulo/chartpack/handsgrid.h"
#include "tabulo/chartpack/rangetext.h"
#include "tabulo/chartpack/render.h"

using namespace chartpack;

namespace {

const ChartPack& defaultPack() {
    static const ChartPack pack = loadRangeFile(TABULO_RANGES_FILE);
    return pack;
}

// One pack for the whole suite, rendered into a temporary program folder.
class Pack : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new QTemporaryDir;
        ASSERT_TRUE(folder_->isValid());
        writePack(defaultPack(), folder_->path(), 2);
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static QImage load(const QString& relative) {
        QImage image(QDir(folder_->path()).filePath(relative));
        return image.convertToFormat(QImage::Format_RGB32);
    }
    static QString path(const QString& relative) {
        return QDir(folder_->path()).filePath(relative);
    }

    static QTemporaryDir* folder_;
};
QTemporaryDir* Pack::folder_ = nullptr;

QColor rgb(GridRgb c) {
    return QColor(c.r, c.g, c.b);
}

QString name(const QColor& c) {
    return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

}  // namespace

TEST_F(Pack, Holds205PngFilesOfTheChartSizeAndNothingElse) {
    const QStringList names = packFileNames();
    ASSERT_EQ(names.size(), 205);
    for (const QString& relative : names) {
        QImageReader reader(path(relative));
        EXPECT_EQ(reader.format(), "png") << relative.toStdString();
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull())
            << relative.toStdString() << ": " << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(kChartWidth, kChartHeight)) << relative.toStdString();
    }
    EXPECT_EQ(QDir(path("img/Positions")).entryList(QDir::Files).size(), 36);
    EXPECT_EQ(QDir(path("img/Holecards")).entryList(QDir::Files).size(), 169);
    for (const char* key : {"UTG", "BB", "MPvsUTG", "UTGvsMP", "BBvsSB", "SBvsBB"})
        EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("img/Positions/%1.png").arg(key))))
            << key;
    for (const char* key : {"AA", "AKs", "AKo", "T9s", "T9o", "22", "32o", "A2s"})
        EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("img/Holecards/%1.png").arg(key))))
            << key;
}

TEST_F(Pack, OpenChartsShowTheHandGridColoursCellForCell) {
    for (int seat = 0; seat < kBigBlind; ++seat) {
        const QImage image = load(spotFileName(Spot{seat, seat}));
        ASSERT_FALSE(image.isNull());
        // The seat's colour is the grid colour of the hands it is the first to open.
        const QColor raise = rgb(gridColourRgb(static_cast<GridColour>(seat)));
        const QColor fold = rgb(gridColourRgb(GridColour::Silver));
        for (int r = 0; r < kRankCount; ++r) {
            for (int c = 0; c < kRankCount; ++c) {
                const bool opens = openingSeat(r, c) <= seat;
                const QColor got = image.pixelColor(swatchPoint(handCellRect(Hand{r, c})));
                EXPECT_EQ(got, opens ? raise : fold)
                    << kSeatNames[static_cast<size_t>(seat)] << " " << Hand{r, c}.key() << " "
                    << name(got).toStdString();
            }
        }
    }
}

TEST_F(Pack, MatchupChartsShowTheActionColours) {
    const QColor call(255, 255, 0), raise_fold(82, 206, 248), reraise(221, 0, 22),
        fold(192, 192, 192);
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot spot = Spot::fromIndex(s);
        if (spot.isSeat() && spot.hero != kBigBlind) continue;
        const QImage image = load(spotFileName(spot));
        for (int h = 0; h < kHandCount; ++h) {
            QColor want = fold;
            switch (defaultPack().action(s, h)) {
                case Action::Call:
                    want = call;
                    break;
                case Action::RaiseFold:
                    want = raise_fold;
                    break;
                case Action::RaiseReraise:
                    want = reraise;
                    break;
                default:
                    break;
            }
            EXPECT_EQ(image.pixelColor(swatchPoint(handCellRect(Hand::fromIndex(h)))), want)
                << spot.key() << " " << Hand::fromIndex(h).key();
        }
    }
    // A few cells read straight off the range file.
    const QImage mp_vs_utg = load("img/Positions/MPvsUTG.png");
    EXPECT_EQ(mp_vs_utg.pixelColor(swatchPoint(handCellRect(*handFromKey("AA")))), reraise);
    EXPECT_EQ(mp_vs_utg.pixelColor(swatchPoint(handCellRect(*handFromKey("A5s")))), raise_fold);
    EXPECT_EQ(mp_vs_utg.pixelColor(swatchPoint(handCellRect(*handFromKey("JJ")))), call);
    EXPECT_EQ(mp_vs_utg.pixelColor(swatchPoint(handCellRect(*handFromKey("72o")))), fold);
    // The big blind's chart is its defence against the small blind.
    const QImage bb = load("img/Positions/BB.png");
    const QImage bb_vs_sb = load("img/Positions/BBvsSB.png");
    for (const char* key : {"AA", "A5s", "72o", "K2s", "T9o"}) {
        const QPoint at = swatchPoint(handCellRect(*handFromKey(key)));
        EXPECT_EQ(bb.pixelColor(at), bb_vs_sb.pixelColor(at)) << key;
    }
}

TEST_F(Pack, HandChartsColourEverySpotByWhatTheHandDoesThere) {
    for (const char* key : {"AA", "AKo", "A5s", "KJo", "T9s", "T9o", "65s", "72o", "22"}) {
        const Hand hand = *handFromKey(key);
        const QImage image = load(handFileName(hand));
        ASSERT_FALSE(image.isNull()) << key;
        for (int s = 0; s < kSpotCount; ++s) {
            const Spot spot = Spot::fromIndex(s);
            const QColor want = actionColour(defaultPack().action(spot, hand), spot.hero);
            EXPECT_EQ(image.pixelColor(swatchPoint(spotCellRect(spot))), want)
                << key << " " << spot.key();
        }
    }
    // Read off the ranges by hand: AA opens from UTG (red) and reraises the BU 3-bet;
    // 72o folds everywhere; A5s folds UTG, opens from MP (orange).
    const QImage aa = load("img/Holecards/AA.png");
    EXPECT_EQ(aa.pixelColor(swatchPoint(spotCellRect(Spot{0, 0}))), QColor(221, 0, 22));
    EXPECT_EQ(aa.pixelColor(swatchPoint(spotCellRect(Spot{0, 3}))), QColor(221, 0, 22));
    const QImage trash = load("img/Holecards/72o.png");
    for (int s = 0; s < kSpotCount; ++s)
        EXPECT_EQ(trash.pixelColor(swatchPoint(spotCellRect(Spot::fromIndex(s)))),
                  QColor(192, 192, 192));
    const QImage a5s = load("img/Holecards/A5s.png");
    EXPECT_EQ(a5s.pixelColor(swatchPoint(spotCellRect(Spot{0, 0}))), QColor(192, 192, 192));
    EXPECT_EQ(a5s.pixelColor(swatchPoint(spotCellRect(Spot{1, 1}))), QColor(255, 157, 60));
    EXPECT_EQ(a5s.pixelColor(swatchPoint(spotCellRect(Spot{1, 0}))), QColor(82, 206, 248));
}

TEST_F(Pack, ChartsCarryATitleAndCellLabels) {
    // Text is painted: the title band and a labelled cell hold dark pixels,
    // the margins between stay white.
    const QImage image = load("img/Positions/UTGvsMP.png");
    auto darkIn = [&](const QRect& area) {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) dark += qGray(image.pixel(x, y)) < 80;
        return dark;
    };
    EXPECT_GT(darkIn(QRect(0, 0, kChartWidth, 55)), 200);
    EXPECT_GT(darkIn(handCellRect(*handFromKey("QJs"))), 20);
    EXPECT_EQ(image.pixel(2, 300), qRgb(255, 255, 255));
}

TEST_F(Pack, RewritingReplacesFilesWhole) {
    const QString one = path("img/Holecards/AKs.png");
    const qint64 before = QFileInfo(one).size();
    writePack(defaultPack(), folder_->path(), 1);
    EXPECT_EQ(QFileInfo(one).size(), before);
    EXPECT_EQ(QDir(path("img/Holecards")).entryList(QDir::Files).size(), 169);
}

TEST(PackWriter, ReportsAFolderThatCannotBeCreated) {
    QTemporaryDir dir;
    QFile blocker(QDir(dir.path()).filePath("img"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where img/ should go
    blocker.close();
    EXPECT_THROW(writePack(defaultPack(), dir.path(), 1), std::runtime_error);
}

TEST(BuiltPack, LiesBesideTheBuiltProgram) {
    const QDir built(QStringLiteral(TABULO_BUILT_PACK));
    for (const QString& relative : packFileNames())
        EXPECT_TRUE(QFileInfo::exists(built.filePath(relative))) << relative.toStdString();
}

namespace {

// Widths of the runs of colour along one pixel row of a cell, left to right.
std::vector<std::pair<QColor, int>> runsAlong(const QImage& image, const QRect& cell, int y) {
    std::vector<std::pair<QColor, int>> runs;
    for (int x = cell.left(); x <= cell.right(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (runs.empty() || runs.back().first != c)
            runs.push_back({c, 1});
        else
            ++runs.back().second;
    }
    return runs;
}

ChartPack mixedPack() {
    ChartPack pack = defaultPack();
    Strategy ajo;
    ajo.set(Action::Call, 6000);
    ajo.set(Action::RaiseReraise, 2500);  // and 15 % fold
    pack.setStrategy(Spot{1, 0}.index(), handFromKey("AJo")->index(), ajo);
    return pack;
}

}  // namespace

TEST(MixedCells, AreBandsAsWideAsTheFrequenciesInBothChartKinds) {
    const QColor call(255, 255, 0), reraise(221, 0, 22), fold(192, 192, 192);
    const ChartPack pack = mixedPack();
    // The 41-pixel cell of the seat chart: 60 % call, 25 % reraise, 15 % fold.
    const QImage spot = renderSpotChart(pack, Spot{1, 0});
    const QRect cell = handCellRect(*handFromKey("AJo"));
    ASSERT_EQ(cell.width(), 41);
    const std::vector<std::pair<QColor, int>> want = {{call, 25}, {reraise, 10}, {fold, 6}};
    EXPECT_EQ(runsAlong(spot, cell, cell.top() + 2), want);
    EXPECT_EQ(runsAlong(spot, cell, cell.bottom() - 1), want);
    // The 90-pixel spot cell of the hand's own chart.
    const QImage hand = renderHandChart(pack, *handFromKey("AJo"));
    const QRect matchup = spotCellRect(Spot{1, 0});
    ASSERT_EQ(matchup.width(), 90);
    const std::vector<std::pair<QColor, int>> wide = {{call, 54}, {reraise, 23}, {fold, 13}};
    EXPECT_EQ(runsAlong(hand, matchup, matchup.top() + 2), wide);
    // Everything outside the mixed cell is the pure chart's, pixel for pixel.
    QImage pure = renderSpotChart(defaultPack(), Spot{1, 0});
    QImage mixed = spot;
    for (QImage* image : {&pure, &mixed}) QPainter(image).fillRect(cell, Qt::black);
    EXPECT_EQ(pure, mixed);
}

namespace {

struct ToolRun {
    int code = -1;
    QString out, err;
};

ToolRun runTool(const QStringList& args, const QProcessEnvironment& env = {}) {
    QProcess tool;
    QProcessEnvironment e = env.isEmpty() ? QProcessEnvironment::systemEnvironment() : env;
    e.insert("QT_QPA_PLATFORM", "offscreen");
    e.insert("ASAN_OPTIONS", "detect_leaks=0");  // the toolkit's own caches at exit
    tool.setProcessEnvironment(e);
    tool.start(QStringLiteral(TABULO_CHARTPACK_TOOL), args);
    tool.waitForFinished(120000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

QString writeRanges(const QString& folder, const std::function<void(QByteArray&)>& edit = {}) {
    QFile in(QStringLiteral(TABULO_RANGES_FILE));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray text = in.readAll();
    if (edit) edit(text);
    const QString path = QDir(folder).filePath("ranges.txt");
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(text);
    return path;
}

}  // namespace

TEST(ChartpackTool, WritesOnlyChangedPicturesAndNamesThem) {
    QTemporaryDir dir;
    const QString ranges = writeRanges(dir.path());
    const QString out = QDir(dir.path()).filePath("program");
    ToolRun run = runTool({ranges, out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.count("wrote img/"), 205);
    run = runTool({ranges, out});
    EXPECT_TRUE(run.out.contains("0 charts written, 205 unchanged")) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains("wrote "));

    // UTG now opens A3s half the time: two pictures change. The hand grid
    // does not open it from UTG, which only the default pack must follow.
    writeRanges(dir.path(), [](QByteArray& text) {
        text.replace("[UTG open]\nraise: 55+,", "[UTG open]\nraise: A3s:0.5, 55+,");
    });
    run = runTool({ranges, out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.count("wrote "), 2) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("wrote img/Positions/UTG.png\n"));
    EXPECT_TRUE(run.out.contains("wrote img/Holecards/A3s.png\n"));
    EXPECT_TRUE(run.err.contains("warning: UTG opens hands the hand grid does not give it: A3s"))
        << run.err.toStdString();

    // --strict refuses the same file and writes nothing.
    const QString strict_out = QDir(dir.path()).filePath("strict");
    run = runTool({"--strict", ranges, strict_out});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains("UTG opens hands the hand grid does not give it: A3s"));
    EXPECT_FALSE(QFileInfo::exists(strict_out));
}

namespace {

// Every file under a folder with its bytes, by relative path.
std::map<QString, QByteArray> snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[QDir(folder).relativeFilePath(file.fileName())] = file.readAll();
    }
    return files;
}

}  // namespace

TEST(ChartpackTool, APartialFileRewritesOnlyItsOwnCharts) {
    QTemporaryDir dir;
    const QString out = QDir(dir.path()).filePath("program");
    ASSERT_EQ(runTool({"--quiet", writeRanges(dir.path()), out}).code, 0);
    const auto before = snapshot(out);
    ASSERT_EQ(before.size(), 205u);

    const QString partial = QDir(dir.path()).filePath("partial.txt");
    QFile file(partial);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[MP vs UTG]\ncall: AhKh:1, AsKs:1, QQ@50\nraise/reraise: AA, KK\n");
    file.close();
    const ToolRun run = runTool({partial, out});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.count("wrote "), 1) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("wrote img/Positions/MPvsUTG.png\n"));
    EXPECT_TRUE(run.out.contains("holds 1 of 36 spots (MPvsUTG); 204 other charts"))
        << run.out.toStdString();

    auto after = snapshot(out);
    ASSERT_EQ(after.size(), before.size());
    const QString changed = QStringLiteral("img/Positions/MPvsUTG.png");
    EXPECT_NE(after[changed], before.at(changed));
    after[changed] = before.at(changed);
    EXPECT_TRUE(after == before);
}

TEST(RangeFormats, TextWrittenOutAndReadBackPaintsTheSameChart) {
    std::mt19937 random(26);
    const Spot spot{1, 0};
    const auto actions = spotActions(spot);
    for (int round = 0; round < 12; ++round) {
        ChartPack pack;
        for (int h = 0; h < kHandCount; ++h) {
            Strategy strategy;
            int room = kFullWeight;
            for (Action action : actions) {
                const int pick = static_cast<int>(random() % 4);
                const int w = pick == 0   ? 0
                              : pick == 1 ? room
                                          : static_cast<int>(random() % (room + 1));
                strategy.set(action, static_cast<Weight>(w));
                room -= w;
            }
            pack.setStrategy(spot.index(), h, strategy);
        }
        const QImage want = renderSpotChart(pack, spot);
        for (RangeFormat format :
             {RangeFormat::Classes, RangeFormat::Combinations, RangeFormat::Brackets}) {
            ChartPack read;
            for (Action action : actions) {
                std::array<Weight, kHandCount> weights{};
                for (int h = 0; h < kHandCount; ++h)
                    weights[static_cast<size_t>(h)] = pack.weight(spot.index(), h, action);
                ActionRange range;
                range.add(parseRangeTokens(formatRange(weights, format)));
                for (int h = 0; h < kHandCount; ++h) {
                    Strategy strategy = read.strategy(spot.index(), h);
                    strategy.set(action, range.weight(h));
                    read.setStrategy(spot.index(), h, strategy);
                }
            }
            ASSERT_EQ(renderSpotChart(read, spot), want)
                << "round " << round << ", format " << static_cast<int>(format);
        }
    }
}

TEST(ChartpackTool, UserFolderIsTheDataHomesTabuloFolder) {
    QTemporaryDir dir;
    const QString ranges = writeRanges(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QDir(dir.path()).filePath("data"));
    const ToolRun run = runTool({"--quiet", ranges, "--user"}, env);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains("wrote "));
    EXPECT_TRUE(run.out.contains("205 charts written"));
    for (const QString& relative : packFileNames())
        EXPECT_TRUE(QFileInfo::exists(QDir(dir.path()).filePath("data/tabulo/" + relative)))
            << relative.toStdString();
}
