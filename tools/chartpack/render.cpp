#include "tabulo/chartpack/render.h"

#include <png.h>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tabulo/chartpack/handsgrid.h"

namespace chartpack {

namespace {

constexpr int kMargin = 9;
constexpr int kGridTop = 60;
constexpr int kGridSize = 546;  // 13 x 42 and 6 x 91
constexpr int kHandCell = kGridSize / kRankCount;
constexpr int kSpotCell = kGridSize / kSeatCount;
constexpr int kLegendTop = kGridTop + kGridSize + 12;

QColor qColour(GridRgb rgb) {
    return {rgb.r, rgb.g, rgb.b};
}

const QColor kFold = qColour(gridColourRgb(GridColour::Silver));
const QColor kLine(96, 96, 96);
const QColor kBackground(255, 255, 255);

QFont chartFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

QColor textColourOn(const QColor& fill) {
    // Dark text on light fills, white on the dark red and green.
    return fill.lightness() < 115 ? Qt::white : Qt::black;
}

namespace {

struct LegendEntry {
    QColor colour;
    QString label;
};

void paintFrame(QPainter& p, const QString& title, const std::vector<LegendEntry>& legend) {
    p.fillRect(0, 0, kChartWidth, kChartHeight, kBackground);
    p.setPen(Qt::black);
    p.setFont(chartFont(30, true));
    p.drawText(QRect(0, 6, kChartWidth, kGridTop - 10), Qt::AlignCenter, title);
    p.fillRect(kMargin, kGridTop, kGridSize + 1, kGridSize + 1, kLine);

    const QFont font = chartFont(17, false);
    p.setFont(font);
    const QFontMetrics metrics(font);
    constexpr int kSwatch = 22;
    constexpr int kGap = 6;
    constexpr int kSpacing = 18;
    int width = 0;
    for (const auto& entry : legend)
        width += kSwatch + kGap + metrics.horizontalAdvance(entry.label) + kSpacing;
    width -= kSpacing;
    int x = (kChartWidth - width) / 2;
    const int y = kLegendTop + 6;
    for (const auto& entry : legend) {
        p.fillRect(x, y, kSwatch, kSwatch, kLine);
        p.fillRect(x + 1, y + 1, kSwatch - 2, kSwatch - 2, entry.colour);
        x += kSwatch + kGap;
        const int advance = metrics.horizontalAdvance(entry.label);
        p.setPen(Qt::black);
        p.drawText(QRect(x, y - 4, advance + 2, kSwatch + 8), Qt::AlignLeft | Qt::AlignVCenter,
                   entry.label);
        x += advance + kSpacing;
    }
}

std::vector<LegendEntry> actionLegend() {
    return {{actionColour(Action::Call, 0), QStringLiteral("Call")},
            {actionColour(Action::RaiseFold, 0), QStringLiteral("Raise/Fold")},
            {actionColour(Action::RaiseReraise, 0), QStringLiteral("Raise/Reraise")},
            {kFold, QStringLiteral("Fold")}};
}

// libpng reports errors by longjmp; nothing in encodeRows needs a destructor.
[[noreturn]] void pngFailed(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void pngWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

bool encodeRows(png_structp png, png_infop info, const QImage& image, QByteArray* bytes) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, bytes, &appendBytes, nullptr);
    png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Flat colour compresses as well unfiltered, and rows with no filter to
    // undo decode fastest; higher levels than 3 cost far more to write and
    // decode no faster.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    // The image's 0xffRRGGBB words lie in memory as B, G, R, 0xff on a
    // little-endian machine and as 0xff, R, G, B on a big-endian one.
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_filler(png, 0, PNG_FILLER_BEFORE);
    }
    for (int y = 0; y < image.height(); ++y) png_write_row(png, image.constScanLine(y));
    png_write_end(png, info);
    return true;
}

// Opaque RGB, 8 bits a channel, the kind of PNG the viewer reads fastest.
QByteArray encodePng(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &pngFailed, &pngWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    QByteArray bytes;
    const bool encoded = info != nullptr && encodeRows(png, info, image, &bytes);
    png_destroy_write_struct(&png, &info);
    if (!encoded) throw std::runtime_error("cannot encode a chart");
    return bytes;
}

bool holds(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.size() != bytes.size() || !file.open(QIODevice::ReadOnly)) return false;
    return file.readAll() == bytes;
}

// Writes the picture unless the file already holds it; true when written.
bool writePng(const QImage& image, const QString& path) {
    const QByteArray bytes = encodePng(image);
    if (holds(path, bytes)) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    return true;
}

}  // namespace

// The legend's colours: a seat's open in its colour of the hand grid, call
// yellow, raise/fold light blue, raise/reraise red, fold silver.
QColor seatColour(int seat) {
    if (seat >= 0 && seat < kBigBlind) return qColour(gridColourRgb(GridColour(seat)));
    return qColour(kBigBlindRgb);
}

QColor actionColour(Action action, int seat) {
    switch (action) {
        case Action::Open:
            return seatColour(seat);
        case Action::Call:
            return qColour(gridColourRgb(GridColour::Yellow));
        case Action::RaiseFold:
            return qColour(gridColourRgb(GridColour::Blue));
        case Action::RaiseReraise:
            return qColour(gridColourRgb(GridColour::Red));
        case Action::Fold:
            break;
    }
    return kFold;
}

QRect handCellRect(Hand hand) {
    return {kMargin + hand.col * kHandCell + 1, kGridTop + hand.row * kHandCell + 1, kHandCell - 1,
            kHandCell - 1};
}

QRect spotCellRect(Spot spot) {
    return {kMargin + spot.opponent * kSpotCell + 1, kGridTop + spot.hero * kSpotCell + 1,
            kSpotCell - 1, kSpotCell - 1};
}

std::vector<Band> strategyBands(const QRect& cell, const Strategy& strategy, Spot spot) {
    std::vector<Action> order = spotActions(spot);
    order.push_back(Action::Fold);
    std::vector<Band> bands;
    int sum = 0;
    int left = cell.left();
    for (Action action : order) {
        const int weight = strategy.weight(action);
        if (weight == 0) continue;
        sum += weight;
        // Rounded on the running sum, so the bands fill the cell exactly.
        const int right = cell.left() + (sum * cell.width() + kFullWeight / 2) / kFullWeight;
        if (right > left)
            bands.push_back({action, QRect(left, cell.top(), right - left, cell.height()),
                             actionColour(action, spot.hero)});
        left = right;
    }
    return bands;
}

QColor paintStrategy(QPainter& p, const QRect& cell, const Strategy& strategy, Spot spot) {
    if (strategy.isPure()) {
        const QColor fill = actionColour(strategy.main(), spot.hero);
        p.fillRect(cell, fill);
        return fill;
    }
    QColor centre;
    for (const Band& band : strategyBands(cell, strategy, spot)) {
        p.fillRect(band.rect, band.colour);
        if (band.rect.contains(cell.center())) centre = band.colour;
    }
    return centre;
}

QPoint swatchPoint(const QRect& cell) {
    return cell.topLeft() + QPoint(4, 4);
}

QString spotFileName(Spot spot) {
    return QStringLiteral("img/Positions/%1.png").arg(QString::fromStdString(spot.key()));
}

QString handFileName(Hand hand) {
    return QStringLiteral("img/Holecards/%1.png").arg(QString::fromStdString(hand.key()));
}

QStringList packFileNames() {
    QStringList names;
    for (int s = 0; s < kSpotCount; ++s) names << spotFileName(Spot::fromIndex(s));
    for (int h = 0; h < kHandCount; ++h) names << handFileName(Hand::fromIndex(h));
    return names;
}

namespace {

// One picture a pack paints: a spot's chart or a hand's.
struct Picture {
    QString name;
    int spot = -1;
    int hand = -1;
};

std::vector<Picture> paintedPictures(const ChartPack& pack) {
    std::vector<Picture> list;
    for (int s = 0; s < kSpotCount; ++s)
        if (pack.holds(Spot::fromIndex(s))) list.push_back({spotFileName(Spot::fromIndex(s)), s});
    if (pack.complete())
        for (int h = 0; h < kHandCount; ++h)
            list.push_back({handFileName(Hand::fromIndex(h)), -1, h});
    return list;
}

}  // namespace

QStringList paintedFileNames(const ChartPack& pack) {
    QStringList names;
    for (const Picture& picture : paintedPictures(pack)) names << picture.name;
    return names;
}

QImage renderSpotChart(const ChartPack& pack, Spot spot) {
    QImage image(kChartWidth, kChartHeight, QImage::Format_RGB32);
    QPainter p(&image);
    const bool opens = spot.isSeat() && spot.hero != kBigBlind;
    std::vector<LegendEntry> legend;
    if (opens) {
        legend = {{seatColour(spot.hero), QStringLiteral("Raise")},
                  {kFold, QStringLiteral("Fold")}};
    } else {
        legend = actionLegend();
    }
    paintFrame(p, QString::fromStdString(spot.title()), legend);
    p.setFont(chartFont(16, true));
    for (int h = 0; h < kHandCount; ++h) {
        const Hand hand = Hand::fromIndex(h);
        const QString label = QString::fromStdString(hand.isPair() ? hand.caption() : hand.key());
        const QRect cell = handCellRect(hand);
        p.setPen(textColourOn(paintStrategy(p, cell, pack.strategy(spot.index(), h), spot)));
        p.drawText(cell, Qt::AlignCenter, label);
    }
    return image;
}

QImage renderHandMap(const QString& title, const HandFill& fill,
                     const std::vector<LegendItem>& legend) {
    QImage image(kChartWidth, kChartHeight, QImage::Format_RGB32);
    QPainter p(&image);
    std::vector<LegendEntry> entries;
    for (const auto& item : legend) entries.push_back({item.colour, item.label});
    paintFrame(p, title, entries);
    p.setFont(chartFont(16, true));
    for (int h = 0; h < kHandCount; ++h) {
        const Hand hand = Hand::fromIndex(h);
        const QRect cell = handCellRect(hand);
        const QColor colour = fill(hand).value_or(kBackground);
        p.fillRect(cell, colour);
        p.setPen(textColourOn(colour));
        p.drawText(cell, Qt::AlignCenter,
                   QString::fromStdString(hand.isPair() ? hand.caption() : hand.key()));
    }
    return image;
}

QImage renderHandChart(const ChartPack& pack, Hand hand) {
    QImage image(kChartWidth, kChartHeight, QImage::Format_RGB32);
    QPainter p(&image);
    paintFrame(p, QString::fromStdString(hand.key()), actionLegend());
    const QFont header = chartFont(22, true);
    const QFont matchup = chartFont(20, false);
    const QFont note = chartFont(16, false);
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot spot = Spot::fromIndex(s);
        const Strategy& strategy = pack.strategy(s, hand.index());
        const Action action = strategy.main();
        const QRect cell = spotCellRect(spot);
        p.setPen(textColourOn(paintStrategy(p, cell, strategy, spot)));
        const QString caption = QString::fromStdString(spot.caption());
        if (action == Action::Open || (spot.isSeat() && spot.hero != kBigBlind)) {
            // A seat's own cell says whether it opens, since seat colours
            // and action colours share hues.
            p.setFont(header);
            p.drawText(cell.adjusted(0, 0, 0, -22), Qt::AlignCenter, caption);
            p.setFont(note);
            const Weight opens = strategy.weight(Action::Open);
            QString text = opens == 0 ? QStringLiteral("fold") : QStringLiteral("open");
            if (opens > 0 && opens < kFullWeight)
                text += QStringLiteral(" %1%").arg(opens / 100.0, 0, 'g', 4);
            p.drawText(cell.adjusted(0, 40, 0, 0), Qt::AlignCenter, text);
        } else {
            p.setFont(spot.isSeat() ? header : matchup);
            p.drawText(cell, Qt::AlignCenter, caption);
        }
    }
    return image;
}

PackReport writePack(const ChartPack& pack, const QString& folder, int jobs,
                     const PackProgress& progress) {
    const QDir root(folder);
    for (const char* sub : {"img/Positions", "img/Holecards"}) {
        if (!root.mkpath(QString::fromLatin1(sub)))
            throw std::runtime_error("cannot create " +
                                     root.filePath(QString::fromLatin1(sub)).toStdString());
    }
    const std::vector<Picture> pictures = paintedPictures(pack);
    const int total = static_cast<int>(pictures.size());
    if (jobs <= 0) jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    jobs = std::max(1, std::min(jobs, total));

    std::vector<char> written(static_cast<size_t>(total), 0);
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::mutex failure_lock;
    std::string failure;
    auto work = [&] {
        for (int i = next++; i < total; i = next++) {
            try {
                const Picture& picture = pictures[static_cast<size_t>(i)];
                const QImage image = picture.spot >= 0
                                         ? renderSpotChart(pack, Spot::fromIndex(picture.spot))
                                         : renderHandChart(pack, Hand::fromIndex(picture.hand));
                written[static_cast<size_t>(i)] =
                    writePng(image, root.filePath(picture.name)) ? 1 : 0;
                if (progress) progress(++done, total);
            } catch (const std::exception& e) {
                const std::lock_guard lock(failure_lock);
                if (failure.empty()) failure = e.what();
                next = total;
            }
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < jobs; ++t) threads.emplace_back(work);
    work();
    for (auto& t : threads) t.join();
    if (!failure.empty()) throw std::runtime_error(failure);
    PackReport report;
    report.untouched = static_cast<int>(packFileNames().size()) - total;
    for (int i = 0; i < total; ++i) {
        if (written[static_cast<size_t>(i)])
            report.written << pictures[static_cast<size_t>(i)].name;
        else
            ++report.unchanged;
    }
    return report;
}

}  // namespace chartpack
