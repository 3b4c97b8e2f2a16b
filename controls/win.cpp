#include "tabulo/controls/win.h"

#include "tabulo/controls/layout.h"
#include "tabulo/widgets/graphics.h"

#include "tabulo/components/hintmanager.h"

int32_t MouseMoveValue(uint32_t state) {
    // Alt is no part of the platform's button state; the wheel delta lives in
    // the high 16 bits.
    switch (state & 0xFFFFu & ~uint32_t(mkAlt)) {
        case mkLButton:
            return 0;
        case mkRButton:
            return 1;
        case mkMButton:
            return 2;
        default:
            return -1;
    }
}

TControl* MakeSplitterCompanion(TControl* parent, int size, int color, int, int) {
    TControl* bar = NewSplitter(parent);
    bar->SetSize(size, size);
    bar->SetColor(TColor(uint32_t(color)));
    return bar;
}

TKVWin::TKVWin(TControl* parent) : ParentControl(parent) {
    if (parent) Color = parent->Color();
}

TKVWin::~TKVWin() {
    if (Layout && Control) Layout->RemoveControl(Control);
    if (HintRecord) HintManager()->DestroyTip(HintRecord);
    HintRecord = nullptr;
    if (!Control) return;
    // Nothing of this component may run once it is gone.
    if (hookInstalled_) Control->SetMessageHook(previousHook_);
    Control->OnMouseDown = nullptr;
    Control->OnMouseUp = nullptr;
    Control->OnMouseMove = nullptr;
    Control->OnMouseDblClk = nullptr;
    Control->OnMouseWheel = nullptr;
    Control->OnKeyDown = nullptr;
    Control->OnKeyUp = nullptr;
    Control->OnChar = nullptr;
    Control->OnResize = nullptr;
    Control->OnShow = nullptr;
    Control->OnDestroy = nullptr;
    Control->OnClick = nullptr;
    Control->OnChange = nullptr;
    Control->OnPaint = nullptr;
    Control->OnDrawItem = nullptr;
    Control->OnClose = nullptr;
    if (!OwnsControl) return;
    if (Companion) {
        delete Companion;
        Companion = nullptr;
    }
    if (!Destroyed) Control->Hide();
    delete Control;
    Control = nullptr;
}

// ---- initialisation ---------------------------------------------------------

void TKVWin::Init() {
    if (!Control) Control = NewControl(ParentControl);
    InitControl();
}

void TKVWin::InitControl() {
    if (!Control) return;
    if (!Name.empty()) Control->SetName(Name.str());
    Control->SetColor(Color);
    Control->SetPosition(Left, Top);
    Control->SetSize(Width, Height);
    applyBorder();
    Control->SetParentColor(false);
    Control->SetEnabled(Enabled);
    Control->SetCursor(Cursor);
    if (Flat) Control->SetFlat(true);
    ApplyFont();
    if (TabOrder > 0) {
        Control->SetTabStop(true);
        Control->SetTabOrder(TabOrder);
    } else {
        Control->SetTabStop(false);
    }
    InstallHandlers();
    Control->SetAlign(Align);
    Control->Hide();
    Control->SetVisible(Visible);
    Control->CreateWindow();
    makeCompanion();

    if (BorderStyle == 0 && Edge >= 1 && Edge <= 4) {
        static constexpr uint32_t edges[] = {0, WS_EX_STATICEDGE, WS_EX_DLGMODALFRAME,
                                             WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME};
        const uint32_t keep = Control->ExStyle() &
                              ~uint32_t(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
        Control->SetExStyle(keep | edges[Edge - 1]);
    }
}

void TKVWin::InstallHandlers() {
    if (!Control || hookInstalled_) return;
    Control->OnMouseDown = [this](TControl&, const TMouseInfo& m) { MouseDown(m); };
    Control->OnMouseMove = [this](TControl&, const TMouseInfo& m) { MouseMove(m); };
    Control->OnMouseUp = [this](TControl&, const TMouseInfo& m) { MouseUp(m); };
    Control->OnMouseWheel = [this](TControl&, const TMouseInfo& m) { MouseWheel(m); };
    Control->OnMouseDblClk = [this](TControl&, const TMouseInfo& m) {
        storeMouse(m);
        FireInt(onDblClick, int32_t(m.Button) - 1);
    };
    previousHook_ = Control->SetMessageHook(
        [this](TControl& sender, TMsg& msg) { return HandleMessage(sender, msg); });
    hookInstalled_ = true;
    Control->OnDestroy = [this](TControl&) { WindowDestroyed(); };
    Control->OnKeyDown = [this](TControl&, int& key, uint32_t shift) { KeyDown(key, shift); };
    Control->OnKeyUp = [this](TControl&, int& key, uint32_t shift) { KeyUp(key, shift); };
    Control->OnChar = [this](TControl&, std::string& ch, uint32_t shift) { KeyChar(ch, shift); };
    Control->OnResize = [this](TControl&) { Resized(); };
    Control->OnShow = [this](TControl&) { Showed(); };
}

void TKVWin::applyBorder() {
    if (BorderStyle == 0) {
        Control->SetExStyle(Control->ExStyle() | WS_EX_CLIENTEDGE);
        Control->SetStyle(Control->Style() & ~uint32_t(WS_BORDER));
    } else if (BorderStyle == 1) {
        Control->SetStyle(Control->Style() | WS_BORDER);
        Control->SetExStyle(Control->ExStyle() & ~uint32_t(WS_EX_CLIENTEDGE));
    }
}

void TKVWin::ApplyFont() {
    TGraphicTool& f = Control->Font();
    if (ParentFont && Control->Parent()) {
        f.Assign(Control->Parent()->Font());
        return;
    }
    // Composed apart and taken at once: the window re-applies its font once,
    // not once per property.
    TGraphicTool wanted(f);
    wanted.SetColor(Font.Color);
    wanted.SetFontStyle(Font.Style);
    if (!Font.Name.empty()) wanted.SetFontName(Font.Name);
    wanted.SetFontSize(Font.Size);
    wanted.SetFontCharset(Font.Charset);
    f.Assign(wanted);
}

void TKVWin::makeCompanion() {
    if (!CompanionFactory.Make) return;
    const int* a = CompanionFactory.Args;
    Companion = CompanionFactory.Make(ParentControl, a[0], a[1], a[2], a[3]);
    if (!Companion) return;
    Companion->Hide();
    const int spacing = ParentControl ? ParentControl->Spacing() : 0;
    if (Align == caTop || Align == caBottom)
        Control->SetHeight(Control->Height() - (a[0] + spacing));
    else if (Align == caLeft || Align == caRight)
        Control->SetWidth(Control->Width() - (a[0] + spacing));
    if (Align >= caLeft && Align <= caBottom) {
        Companion->SetAlign(Align);
        Companion->SetVisible(Visible);
    }
    Companion->CreateWindow();
}

// ---- schema operations ------------------------------------------------------

void TKVWin::AttachLayout(TWinLayout* layout) {
    Layout = layout;
    if (Layout && Control) Layout->AddControl(Control, LayoutWeight, this);
}

void TKVWin::RegisterHint() {
    if (Hint.empty() || HintRecord || !Control) return;
    HintRecord = HintManager()->Register(Control, Hint.view());
}

// ---- points -----------------------------------------------------------------

void TKVWin::doVisible(TData& value, uint16_t) {
    Visible = IsTrue(value);
    if (!Control) return;
    Control->SetVisible(Visible);
    if (Companion && Align != caNone && Align != caClient) Companion->SetVisible(Visible);
}

void TKVWin::doEnabled(TData& value, uint16_t) {
    Enabled = IsTrue(value);
    if (Control) Control->SetEnabled(Enabled);
}

void TKVWin::doSendToBack(TData&, uint16_t) {
    if (Control) Control->SendToBack();
}

void TKVWin::doBringToFront(TData&, uint16_t) {
    if (!Control) return;
    Control->BringToFront();
    Control->Show();
}

void TKVWin::getHandle(TData& value, uint16_t) {
    MakeInt(value, Control ? int32_t(Control->Handle()) : 0);
}

// ---- handlers ---------------------------------------------------------------

void TKVWin::storeMouse(const TMouseInfo& m) {
    LastMouse.Button = m.Button;
    LastMouse.State = m.PackedState();
    LastMouse.X = int16_t(m.X);
    LastMouse.Y = int16_t(m.Y);
}

void TKVWin::MouseDown(const TMouseInfo& m) {
    storeMouse(m);
    FireInt(onMouseDown, int32_t(m.Button) - 1);
    if (CaptureMouse && Control) {
        TControl::ReleaseCapture();
        Control->SetCapture();
    }
}

void TKVWin::MouseUp(const TMouseInfo& m) {
    storeMouse(m);
    FireInt(onMouseUp, int32_t(m.Button) - 1);
    if (CaptureMouse) TControl::ReleaseCapture();
}

void TKVWin::MouseMove(const TMouseInfo& m) {
    if (HintRecord) HintManager()->TrackPosition(HintRecord, m.X, m.Y);
    storeMouse(m);
    FireInt(onMouseMove, MouseMoveValue(LastMouse.State));
}

void TKVWin::MouseWheel(const TMouseInfo& m) {
    storeMouse(m);
    FireInt(onMouseWheel, int32_t(int16_t(uint16_t(LastMouse.State >> 16))));
}

void TKVWin::MouseOver() {
    if (HintRecord) HintManager()->TrackActivate(HintRecord, true);
    FireNull(onMouseEnter);
}

void TKVWin::MouseLeave() {
    FireNull(onMouseLeave);
    if (HintRecord) HintManager()->TrackActivate(HintRecord, false);
}

bool TKVWin::parentKey(int& key, uint32_t shift, bool down) {
    TControl* parent = Control ? Control->Parent() : nullptr;
    if (!ParentKeys || !parent) return false;
    auto& slot = down ? parent->OnKeyDown : parent->OnKeyUp;
    if (slot) slot(*parent, key, shift);
    return key == 0;
}

void TKVWin::KeyDown(int& key, uint32_t shift) {
    if (parentKey(key, shift, true)) {
        KeyOverride = 0;
        return;
    }
    KeyOverride = -1;
    FireInt(onKeyDown, key);
    if (KeyOverride >= 0) key = KeyOverride;
}

void TKVWin::KeyUp(int& key, uint32_t shift) {
    if (parentKey(key, shift, false)) {
        KeyOverride = 0;
        return;
    }
    KeyOverride = -1;
    FireInt(onKeyUp, key);
    if (KeyOverride >= 0) key = KeyOverride;
}

void TKVWin::KeyChar(std::string& ch, uint32_t shift) {
    TControl* parent = Control ? Control->Parent() : nullptr;
    if (ParentKeys && parent && parent->OnChar) {
        parent->OnChar(*parent, ch, shift);
        if (ch.empty()) {
            KeyOverride = 0;
            return;
        }
    }
    KeyOverride = -1;
    FireText(onKeyChar, TText(ch));
    if (KeyOverride == 0)
        ch.clear();
    else if (KeyOverride > 0)
        ch = std::string(1, char(KeyOverride));
}

bool TKVWin::HandleMessage(TControl& sender, TMsg& msg) {
    switch (msg.Message) {
        case msgMove:
            FireNull(onMove);
            break;
        case msgSetFocus:
            FireNull(onSetFocus);
            break;
        case msgKillFocus:
            FireNull(onKillFocus);
            break;
        case msgSizeChanging: {
            // A wired size pull may correct a change of height, then of width.
            const int h = sender.Height(), w = sender.Width();
            if (msg.NewHeight != h) {
                TData v;
                MakeInt(v, msg.NewHeight - h);
                ReadRaw(v, pullSizeH);
                if ((v.Tag & ~ForwardFlag) == dtInteger) msg.NewHeight = h + v.IntValue;
            }
            if (msg.NewWidth != w) {
                TData v;
                MakeInt(v, msg.NewWidth - w);
                ReadRaw(v, pullSizeW);
                if ((v.Tag & ~ForwardFlag) == dtInteger) msg.NewWidth = w + v.IntValue;
            }
            break;
        }
        case msgMouseMove:
        case msgMouseDown:
        case msgMouseUp:
        case msgMouseDblClk:
        case msgMouseWheel:
        case msgMouseHover:
            MouseOver();
            break;
        case msgMouseLeave:
            MouseLeave();
            break;
        default:
            break;
    }
    return PassMessage(previousHook_, sender, msg);
}

void TKVWin::WindowDestroyed() {
    Destroyed = true;
}

void TKVWin::Resized() {
    FireNull(onResize);
}

void TKVWin::Showed() {
    FireNull(onShow);
}
