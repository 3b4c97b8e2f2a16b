#include "rangebook.h"

#include <QFile>
#include <algorithm>
#include <stdexcept>

namespace trainer {

using namespace chartpack;

const BookSpot* RangeBook::find(Spot spot) const {
    const auto at = std::find_if(spots.begin(), spots.end(),
                                 [&](const BookSpot& s) { return s.spot.index() == spot.index(); });
    return at == spots.end() ? nullptr : &*at;
}

RangeBook readRangeBook(std::string_view text) {
    std::vector<RangeLine> layout;
    RangeBook book;
    book.pack = parseRangeFile(text, &layout);
    std::array<std::vector<Action>, kSpotCount> actions;
    for (const RangeLine& line : layout) {
        if (line.spot < 0 || line.spot >= kSpotCount) continue;
        auto& list = actions[static_cast<size_t>(line.spot)];
        if (line.label && line.action != Action::Fold &&
            std::find(list.begin(), list.end(), line.action) == list.end())
            list.push_back(line.action);
    }
    // The spots the file holds, each once: the big blind's own chart is
    // drilled as BB vs SB, the section that holds it.
    for (int s = 0; s < kSpotCount; ++s) {
        const Spot held = Spot::fromIndex(s);
        if (!held.hasSection() || !book.pack.holds(held)) continue;
        BookSpot spot{held, actions[static_cast<size_t>(s)]};
        spot.actions.push_back(Action::Fold);
        book.spots.push_back(std::move(spot));
    }
    return book;
}

RangeBook loadRangeBook(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    const QByteArray text = file.readAll();
    return readRangeBook(std::string_view(text.constData(), static_cast<size_t>(text.size())));
}

}  // namespace trainer
