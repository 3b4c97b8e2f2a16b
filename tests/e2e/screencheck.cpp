// Checks on screenshots of the running program, for the end-to-end scripts.
//
//   screencheck tabs [--scale S] SHOT WORD...
//                                     the tab strip shows these captions, in
//                                     order, at S times their 96-DPI size
//   screencheck colors SHOT RRGGBB:N  at least N pixels of each colour
//   screencheck settled WINDOW        the window's program and the window
//                                     manager have handled all events so far
//   screencheck wmstate               until ended, prints every window-state
//                                     request sent to the window manager of
//                                     $DISPLAY: "<window> add|remove <atoms>"
//   screencheck clickonmap TITLE X Y [SECONDS]
//                                     clicks at X, Y of the window TITLE the
//                                     moment it becomes viewable
//   screencheck launch TITLE COMMAND...
//                                     milliseconds from starting the command
//                                     until its window TITLE is viewable
//
// Captions are found as the runs of dark ink along the top of the window and
// compared with the candidate words drawn by the same toolkit and fonts: the
// best-matching candidate of each run must be the expected word. Exit code
// 0 when every check holds, 1 otherwise, 2 on bad arguments.

#include <xcb/xcb.h>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "clickonmap.h"
#include "settle.h"

namespace {

constexpr int kInk = 110;  // grey level below which a pixel is text

struct Run {
    int Left, Right, Top, Bottom;  // inclusive ink bounds
};

QImage Grey(const QImage& image) {
    return image.convertToFormat(QImage::Format_Grayscale8);
}

bool IsInk(const QImage& g, int x, int y) {
    return qGray(g.pixel(x, y)) < kInk;
}

// The first text line among the top `rows` rows: the rows of the first band
// of ink, split into runs where at least `gap` ink-free columns separate them.
std::vector<Run> CaptionRuns(const QImage& g, int gap, int rows) {
    const int maxRows = std::min(g.height(), rows);
    int top = -1, bottom = -1;
    for (int y = 0; y < maxRows; ++y) {
        bool ink = false;
        for (int x = 0; x < g.width() && !ink; ++x) ink = IsInk(g, x, y);
        if (ink && top < 0) top = y;
        if (ink) bottom = y;
        if (!ink && top >= 0) break;
    }
    std::vector<Run> runs;
    if (top < 0) return runs;
    int blank = gap;
    for (int x = 0; x < g.width(); ++x) {
        bool ink = false;
        for (int y = top; y <= bottom && !ink; ++y) ink = IsInk(g, x, y);
        if (!ink) {
            ++blank;
            continue;
        }
        if (blank >= gap || runs.empty())
            runs.push_back({x, x, top, bottom});
        else
            runs.back().Right = x;
        blank = 0;
    }
    return runs;
}

// The word drawn black on white and cut to its ink.
QImage Render(const QString& word, const QString& family, int pixelSize) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    QImage canvas(pixelSize * (word.size() + 2), pixelSize * 3, QImage::Format_Grayscale8);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(pixelSize, pixelSize * 2, word);
    }
    int l = canvas.width(), r = -1, t = canvas.height(), b = -1;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (IsInk(canvas, x, y)) {
                l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
            }
    if (r < 0) return {};
    return canvas.copy(l, t, r - l + 1, b - t + 1);
}

// Normalised cross-correlation of two grey pictures of one size, scaled by
// how well their widths agree.
double Similarity(const QImage& shot, const QImage& candidate) {
    if (candidate.isNull()) return -1;
    QImage c = candidate.scaled(shot.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    const int n = shot.width() * shot.height();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            double a = qGray(shot.pixel(x, y)), b = qGray(c.pixel(x, y));
            sa += a, sb += b, saa += a * a, sbb += b * b, sab += a * b;
        }
    double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    if (va <= 0 || vb <= 0) return -1;
    double ncc = (sab - sa * sb / n) / std::sqrt(va * vb);
    double wr = double(std::min(shot.width(), candidate.width())) /
                std::max(shot.width(), candidate.width());
    double hr = double(std::min(shot.height(), candidate.height())) /
                std::max(shot.height(), candidate.height());
    return ncc * wr * hr;
}

int CheckTabs(const QImage& shot, const QStringList& words, double scale) {
    const QImage g = Grey(shot);
    const std::vector<Run> runs = CaptionRuns(g, int(5 * scale), int(40 * scale));
    std::printf("caption runs found: %zu (expected %lld)\n", runs.size(),
                static_cast<long long>(words.size()));
    if (runs.size() != std::size_t(words.size())) return 1;
    const QStringList families = {"MS Sans Serif", "Tahoma", QGuiApplication::font().family()};
    int failures = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Run& r = runs[i];
        QImage crop = g.copy(r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
        QString best;
        double bestScore = -2;
        for (const QString& word : words)
            for (const QString& family : families)
                for (int px = int(9 * scale); px <= int(16 * scale); ++px) {
                    double s = Similarity(crop, Render(word, family, px));
                    if (s > bestScore) bestScore = s, best = word;
                }
        bool ok = best == words[qsizetype(i)] && bestScore > 0.5;
        failures += ok ? 0 : 1;
        std::printf("tab %zu at x %d..%d: expected \"%s\", best \"%s\" (%.2f) %s\n", i + 1, r.Left,
                    r.Right, qPrintable(words[qsizetype(i)]), qPrintable(best), bestScore,
                    ok ? "ok" : "MISMATCH");
        std::printf("center %d %d\n", (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        std::printf("ink %d %d\n", r.Right - r.Left + 1, r.Bottom - r.Top + 1);
    }
    return failures == 0 ? 0 : 1;
}

int CheckColors(const QImage& shot, const QStringList& wanted) {
    const QImage rgb = shot.convertToFormat(QImage::Format_RGB32);
    int failures = 0;
    for (const QString& entry : wanted) {
        const QStringList parts = entry.split(':');
        if (parts.size() != 2) return 2;
        const QRgb want = parts[0].toUInt(nullptr, 16) | 0xFF000000u;
        const int need = parts[1].toInt();
        int count = 0;
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x) count += rgb.pixel(x, y) == want ? 1 : 0;
        bool ok = count >= need;
        failures += ok ? 0 : 1;
        std::printf("colour %s: %d pixels (need %d) %s\n", qPrintable(parts[0]), count, need,
                    ok ? "ok" : "MISSING");
    }
    return failures == 0 ? 0 : 1;
}

std::string AtomName(xcb_connection_t* c, xcb_atom_t atom) {
    if (atom == XCB_ATOM_NONE) return {};
    xcb_get_atom_name_reply_t* r = xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr);
    if (!r) return {};
    std::string name(xcb_get_atom_name_name(r), std::size_t(xcb_get_atom_name_name_length(r)));
    std::free(r);
    return name;
}

// The requests go to the root window as client messages (_NET_WM_STATE),
// sent to whoever listens for its structure: the window manager and us.
int WatchWindowStates() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot connect to the X display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    std::printf("watching\n");
    std::fflush(stdout);
    while (xcb_generic_event_t* e = xcb_wait_for_event(c)) {
        if ((e->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(e);
            if (AtomName(c, m->type) == "_NET_WM_STATE" && m->format == 32) {
                const uint32_t* d = m->data.data32;
                std::printf("0x%x %s %s %s\n", m->window,
                            d[0] == 1   ? "add"
                            : d[0] == 0 ? "remove"
                                        : "toggle",
                            AtomName(c, d[1]).c_str(), AtomName(c, d[2]).c_str());
                std::fflush(stdout);
            }
        }
        std::free(e);
    }
    xcb_disconnect(c);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "settled") == 0) return Settle(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "wmstate") == 0) return WatchWindowStates();
    if (argc > 1 && std::strcmp(argv[1], "clickonmap") == 0) return ClickOnMap(argc - 2, argv + 2);
    if (argc > 1 && std::strcmp(argv[1], "launch") == 0) return LaunchTime(argc - 2, argv + 2);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The faces the program draws its captions with (fonts-wine), which
    // fontconfig does not list.
    for (const char* face :
         {"/usr/share/wine/fonts/ms_sans_serif.ttf", "/usr/share/wine/fonts/tahoma.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(face));
    QStringList args = app.arguments();
    double scale = 1;
    if (args.size() > 3 && args[2] == "--scale") {
        scale = args[3].toDouble();
        if (scale < 1) return 2;
        args.remove(2, 2);
    }
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: screencheck tabs|colors SHOT ARGS... | settled WINDOW\n");
        return 2;
    }
    const QImage shot(args[2]);
    if (shot.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[2]));
        return 2;
    }
    if (args[1] == "tabs") return CheckTabs(shot, args.mid(3), scale);
    if (args[1] == "colors") return CheckColors(shot, args.mid(3));
    return 2;
}
