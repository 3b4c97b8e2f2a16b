#include "tabulo/controls/drawmode.h"

#include "tabulo/runtime/data.h"

namespace {
void fill(TDrawPlan& p, int l, int t, int r, int b) {
    const TDrawRect rc{l, t, r, b};
    if (!rc.Empty()) p.Fills.push_back(rc);
}

// Modes 2 and 5: the picture keeps its proportions and either spans the width
// (bands above and below) or the height (bands left and right).
void proportional(TDrawPlan& p, int cw, int ch, int w, int h, bool fit) {
    const double k = double(h) / double(w);
    const bool widthFits = double(cw) * k <= double(ch);
    p.How = TDrawPlan::Stretch;
    if (widthFits == fit) {
        const int m = RoundHalfEven((double(ch) - double(cw) * k) / 2.0);
        fill(p, 0, 0, cw, m);
        fill(p, 0, ch - m, cw, ch);
        p.Target = {0, m, cw, ch - m};
    } else {
        const int m = RoundHalfEven((double(cw) - double(ch) / k) / 2.0);
        fill(p, 0, 0, m, ch);
        fill(p, cw - m, 0, cw, ch);
        p.Target = {m, 0, cw - m, ch};
    }
}
}  // namespace

TDrawPlan PlanDrawing(int cw, int ch, int w, int h, int mode) {
    TDrawPlan p;
    switch (mode) {
        case dmCenter: {
            const int x = (cw - w) / 2, y = (ch - h) / 2;  // truncates toward zero
            p.How = TDrawPlan::Copy;
            p.Target = {x, y, x + w, y + h};
            fill(p, 0, 0, cw, y);
            fill(p, 0, y + h, cw, ch);
            fill(p, 0, y, x, y + h);
            fill(p, x + w, y, cw, y + h);
            break;
        }
        case dmFit:
            proportional(p, cw, ch, w, h, true);
            break;
        case dmTile:
            p.How = TDrawPlan::Tile;
            p.Target = {0, 0, w, h};
            p.TilesX = cw / w + 1;
            p.TilesY = ch / h + 1;
            break;
        case dmTopLeft:
            p.How = TDrawPlan::Copy;
            p.Target = {0, 0, w, h};
            fill(p, w, 0, cw, ch);
            fill(p, 0, h, w, ch);
            break;
        case dmFill:
            proportional(p, cw, ch, w, h, false);
            break;
        case dmStretch:
        default:
            p.How = TDrawPlan::Stretch;
            p.Target = {0, 0, cw, ch};
            break;
    }
    return p;
}
