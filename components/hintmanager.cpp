#include "tabulo/components/hintmanager.h"

#include "tabulo/widgets/graphics.h"

namespace {
std::unique_ptr<TKVHintManager>& instance() {
    static std::unique_ptr<TKVHintManager> m;
    return m;
}
}  // namespace

TKVHintManager::TKVHintManager() = default;
TKVHintManager::~TKVHintManager() = default;

TToolTip* TKVHintManager::CreateTip(TControl* owner) {
    auto tip = std::make_unique<TToolTip>();
    if (!CreateTipWindow(*tip, owner, Plain == 0)) return nullptr;

    TGraphicTool font(TGraphicToolKind::Font);
    font.SetFontName(Font.Name);
    font.SetFontSize(Font.Size);
    font.SetFontStyle(Font.Style);
    font.SetFontCharset(Font.Charset);
    font.SetColor(Font.Color);
    SetTipFont(*tip, font);
    SetTipColors(*tip, Font.Color, Background);
    SetTipDelays(*tip, InitialDelay, AutoPop);
    SetTipMargin(*tip, Margin);
    ++tips_;
    return tip.release();
}

void TKVHintManager::DestroyTip(TToolTip* tip) {
    if (!tip) return;
    DestroyTipWindow(*tip);
    delete tip;
    --tips_;
}

void TKVHintManager::SetText(TToolTip* tip, std::string_view text) {
    if (!tip) return;
    tip->Text = TText(text);
    UpdateTipText(*tip);
}

void TKVHintManager::SetTitle(TToolTip* tip, int icon, std::string_view title) {
    if (!tip) return;
    tip->TitleIcon = icon;
    tip->Title = TText(title);
    UpdateTipText(*tip);
}

void TKVHintManager::TrackActivate(TToolTip* tip, bool on) {
    if (!tip || !Tracking) return;
    TrackTip(*tip, on);
}

void TKVHintManager::TrackPosition(TToolTip* tip, int x, int y) {
    if (!tip || !Tracking) return;
    TrackTipPosition(*tip, x, y);
}

TToolTip* TKVHintManager::Register(TControl* owner, std::string_view hint) {
    if (hint.empty() || !owner) return nullptr;
    TToolTip* tip = CreateTip(owner);
    SetText(tip, hint);
    return tip;
}

void StartHintManager() {
    if (!instance()) instance() = std::make_unique<TKVHintManager>();
}

void StopHintManager() {
    instance().reset();
}

TKVHintManager* HintManager() {
    StartHintManager();
    return instance().get();
}
