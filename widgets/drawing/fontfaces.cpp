// The stand-in faces for the font families the program names.

#include "tabulo/widgets/fontfaces.h"

#include <fontconfig/fontconfig.h>

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <cstring>

namespace {

// Where Debian's fonts-wine puts its faces.
constexpr const char* kStandInFiles[] = {
    "/usr/share/wine/fonts/ms_sans_serif.ttf",
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
};

// A bitmap face is drawn at the pixel size of a strike, which counts the
// whole cell; the program asks for the character height, the cell less its
// internal leading. The strikes of "MS Sans Serif" at 8, 10 and 12 points
// (96 DPI), by character height.
struct Strike {
    int CharHeight;
    int Cell;
};
constexpr Strike kSansSerifStrikes[] = {{11, 13}, {13, 16}, {16, 20}};

// What the font database offers for "MS Sans Serif", looked up once when the
// stand-in faces are registered: every control's font asks, and listing the
// database's families costs far more than the rest of a font choice.
struct Offer {
    bool Installed = false;
    bool SansSerifOutline = false;
    bool SansSerifBitmap = false;
};
Offer offer;

bool sameFamily(std::string_view a, const char* b) {
    return QString::fromUtf8(a.data(), qsizetype(a.size()))
               .compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// True when fontconfig's application faces already hold the file (read by
// the warm-up thread).
bool knownToFontconfig(const char* file) {
    FcFontSet* set = FcConfigGetFonts(nullptr, FcSetApplication);
    if (!set) return false;
    for (int i = 0; i < set->nfont; ++i) {
        FcChar8* known = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &known) == FcResultMatch &&
            std::strcmp(reinterpret_cast<const char*>(known), file) == 0)
            return true;
    }
    return false;
}

const QStringList& outlineFallbacks() {
    static const QStringList list{"Tahoma", "Liberation Sans", "Arial", "DejaVu Sans"};
    return list;
}

}  // namespace

void InstallStandInFaces() {
    if (offer.Installed || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    offer.Installed = true;
    for (const char* file : kStandInFiles)
        if (!knownToFontconfig(file) && QFile::exists(QLatin1String(file)))
            QFontDatabase::addApplicationFont(QLatin1String(file));
    const QString sansSerif = QStringLiteral("MS Sans Serif");
    offer.SansSerifOutline = QFontDatabase::isSmoothlyScalable(sansSerif);
    offer.SansSerifBitmap = !offer.SansSerifOutline &&
                            QFontDatabase::families().contains(sansSerif, Qt::CaseInsensitive);
}

TFaceChoice ChooseFace(std::string_view family, int charHeight, double deviceRatio) {
    InstallStandInFaces();
    TFaceChoice choice;
    choice.PixelSize = charHeight;
    // A strike has the pixels of one size: at any other device pixel ratio
    // it would be drawn at its own size with the letters placed for the
    // scaled one. Outline faces scale, and are smoothed there as the desktop
    // draws them.
    const bool unscaled = deviceRatio == 1.0;
    if (sameFamily(family, "MS Sans Serif")) {
        if (offer.SansSerifOutline) choice.Families << QStringLiteral("MS Sans Serif");
        if (offer.SansSerifBitmap && unscaled) {
            for (const Strike& s : kSansSerifStrikes) {
                if (s.CharHeight != charHeight) continue;
                choice.Families << QStringLiteral("MS Sans Serif");
                choice.PixelSize = s.Cell;
            }
        }
        choice.Families << outlineFallbacks();
        choice.Crisp = unscaled;
        return choice;
    }
    if (sameFamily(family, "Tahoma")) {
        choice.Families = outlineFallbacks();
        choice.Crisp = unscaled;
        return choice;
    }
    choice.Families << QString::fromUtf8(family.data(), qsizetype(family.size()));
    return choice;
}

TFontWarmup::TFontWarmup()
    : thread_([] {
          if (!FcInit()) return;
          for (const char* file : kStandInFiles)
              FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file));
      }) {}

TFontWarmup::~TFontWarmup() {
    Wait();
}

void TFontWarmup::Wait() {
    if (thread_.joinable()) thread_.join();
}
