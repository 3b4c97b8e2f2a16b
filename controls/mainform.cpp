#include "tabulo/controls/mainform.h"

#include <string>
#include <vector>

#include "tabulo/runtime/init_queue.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/ini.h"
#include "tabulo/widgets/paths.h"
#include "tabulo/widgets/placementstore.h"
#include "tabulo/widgets/screen.h"

TKVMainForm::TKVMainForm(TControl* parent)
    : TKVWin(parent), Background(std::make_unique<TBitmap>()) {
    IsMainForm = Applet() == nullptr;
    TControl* owner = parent ? parent : (IsMainForm ? nullptr : Applet());
    Control = NewForm(owner, "Form");
    Control->Hide();
    AddInit<&TKVMainForm::deferredInit>(this);
}

TKVMainForm::~TKVMainForm() {
    RemoveInits(this);
    if (Control) Control->Tag = nullptr;
}

void TKVMainForm::deferredInit() {
    FireNull(onCreate);
    if (Control) Control->SetVisible(Visible);
}

// ---- initialisation ---------------------------------------------------------

void TKVMainForm::Init() {
    if (PlaceKey.empty())
        place_ = Place::None;
    else if (PlaceKey.view().find(".ini\\") != std::string_view::npos)
        place_ = Place::Ini;
    else
        place_ = Place::Store;

    const bool visible = Visible;
    Visible = false;
    TKVWin::Init();
    Visible = visible;
    // A form with a single-line border is the platform's framed window: with
    // a caption it has the system menu and its close box. Without that
    // border the frame style alone decides (the edit window has no close box).
    if (BorderStyle == 1) Control->SetStyle(Control->Style() | WS_SYSMENU);

    Control->SetAlphaBlend(AlphaBlend);
    if (ClientSize) Control->SetClientSize(Width, Height);
    Control->OnPaint = [this](TControl&, TCanvas& canvas) {
        if (Background && !Background->Empty()) canvas.Draw(0, 0, *Background);
    };
    Control->Tag = this;
    if (StartPosition) (this->*StartPosition)();
}

void TKVMainForm::CenterOnScreen() {
    if (!Control) return;
    const TScreenSize s = ScreenSize();
    Control->SetPosition((s.Width - Control->Width()) / 2, (s.Height - Control->Height()) / 2);
}

// ---- setters ----------------------------------------------------------------

void TKVMainForm::SetCaption(const TText& caption) {
    if (Control) Control->SetText(caption);
}

void TKVMainForm::SetFrameStyle(int style) {
    if (Control && style >= 0 && style <= 9) Control->SetFrameStyle(style);
}

void TKVMainForm::SetIcon(const TIcon* icon) {
    if (!Control) return;
    if (icon && !icon->Empty()) {
        icon_.Assign(*icon);
        Control->SetIcon(&icon_);
    } else if (ParentControl && ParentControl->Icon()) {
        icon_.Assign(*ParentControl->Icon());
        Control->SetIcon(&icon_);
    } else if (!IsMainForm && Applet() && Applet()->Icon()) {
        icon_.Assign(*Applet()->Icon());
        Control->SetIcon(&icon_);
    }
}

void TKVMainForm::SetIcon(const QIcon& icon) {
    TIcon t(icon);
    SetIcon(&t);
}

void TKVMainForm::SetHideFromTaskbar(int value) {
    if (IsMainForm && value == 1 && Control) Control->SetToolWindow(true);
}

// ---- points -----------------------------------------------------------------

void TKVMainForm::doVisible(TData& value, uint16_t) {
    Visible = IsTrue(value);
    if (!Control) return;
    if (Visible) {
        TControl* active = ActiveForm();
        RememberedWindow = (active && active != Control) ? active->Handle() : 0;
        Control->ShowWindow(true);
        Control->Activate();
        return;
    }
    const bool ours = ActiveForm() != nullptr;
    Control->Hide();
    activateRemembered(ours);
}

void TKVMainForm::activateRemembered(bool ours) {
    TControl* c = RememberedWindow ? ControlFromHandle(RememberedWindow) : nullptr;
    RememberedWindow = 0;
    if (!c) return;
    if (ours) {
        // The activation passes back to the window that had it before.
        c->Activate();
        return;
    }
    // The user works in another program's window: the form only hears of
    // it, the focus stays where it is.
    TMsg msg;
    msg.Message = msgActivate;
    msg.WParam = 1;
    c->Perform(msg);
}

void TKVMainForm::doClose(TData&, uint16_t) {
    SavePlacement();
    if (Control) Control->Close(true);
}

void TKVMainForm::setState(TControl* form, uint8_t state) {
    if (!form || form->WindowState() == state) return;
    form->SetWindowState(state, state == wsMaximized);
}

void TKVMainForm::doRestore(TData&, uint16_t) {
    // There is no separate application window here: the application's state is
    // the main form's.
    setState(IsMainForm || !Applet() ? Control : Applet(), wsNormal);
}

void TKVMainForm::doMinimize(TData&, uint16_t) {
    setState(IsMainForm || !Applet() ? Control : Applet(), wsMinimized);
}

// ---- handlers ---------------------------------------------------------------

void TKVMainForm::MouseDown(const TMouseInfo& m) {
    if (DragAnywhere && Control && m.Button == 1) {
        // Pressing anywhere moves the window as its caption bar would.
        TControl::ReleaseCapture();
        const TPoint p = Control->ClientToScreen({m.X, m.Y});
        dragOffset_ = {p.X - Control->Left(), p.Y - Control->Top()};
        dragging_ = true;
        Control->SetCapture();
    }
    TKVWin::MouseDown(m);
}

void TKVMainForm::MouseMove(const TMouseInfo& m) {
    if (dragging_ && Control) {
        if (m.Shift & mkLButton) {
            const TPoint p = Control->ClientToScreen({m.X, m.Y});
            Control->SetPosition(p.X - dragOffset_.X, p.Y - dragOffset_.Y);
        } else {
            dragging_ = false;
        }
    }
    TKVWin::MouseMove(m);
}

void TKVMainForm::MouseUp(const TMouseInfo& m) {
    if (dragging_ && m.Button == 1) {
        dragging_ = false;
        TControl::ReleaseCapture();
    }
    TKVWin::MouseUp(m);
}

void TKVMainForm::Showed() {
    if (!Shown) {
        Shown = true;
        if (WindowState == wsMinimized || WindowState == wsMaximized)
            setState(Control, WindowState);
        LoadPlacement();
    }
    TKVWin::Showed();
}

bool TKVMainForm::HandleMessage(TControl& sender, TMsg& msg) {
    switch (msg.Message) {
        case msgActivate:
            if (msg.WParam > 0)
                FireNull(onActivate);
            else
                FireNull(onDeactivate);
            break;
        case msgEraseBkgnd:
            if (Background && !Background->Empty()) return true;
            break;
        case msgClose:
            if (closeProcedure(msg.WParam == 1)) return true;
            break;
        default:
            break;
    }
    return TKVWin::HandleMessage(sender, msg);
}

bool TKVMainForm::closeProcedure(bool fromProgram) {
    if (!fromProgram && PeekInt(pullCanClose) != 0) return true;  // refused: stays open

    // Child forms first, as closed by the program.
    std::vector<uint32_t> children;
    for (TControl* f : FormList())
        if (f != Control && f->Parent() == Control) children.push_back(f->Handle());
    for (uint32_t h : children)
        if (TControl* f = ControlFromHandle(h)) f->Close(true);

    activateRemembered(ActiveForm() != nullptr);

    bool consumed = true;
    if (IsMainForm) {
        consumed = false;  // the widget layer closes the window and ends the program
        FireNull(onClose);
        MuteHooks();
    } else {
        TControl* owner = Control->Parent() ? Control->Parent()->ParentForm() : nullptr;
        if (owner && owner->ModalChild() == Control)
            Control->SetModalResult(-1);
        else
            Control->Hide();
    }
    SavePlacement();
    return consumed;
}

// ---- placement --------------------------------------------------------------

void TKVMainForm::iniLocation(std::string& file, std::string& section) const {
    const std::string_view key = PlaceKey.view();
    const std::size_t p = key.find(".ini\\");
    file = ProgramFolder() + std::string(key.substr(0, p + 4));
    section = std::string(key.substr(p + 5));
}

void TKVMainForm::SavePlacement() {
    if (!Control || place_ == Place::None) return;
    if (place_ == Place::Store) {
        WritePlacement(PlaceKey.view(), Control->Left(), Control->Top(), Control->Height(),
                       Control->Width());
        return;
    }
    std::string file, section;
    iniLocation(file, section);
    WritePrivateProfileString(section, "Left", std::to_string(Control->Left()), file);
    WritePrivateProfileString(section, "Top", std::to_string(Control->Top()), file);
    WritePrivateProfileString(section, "Width", std::to_string(Control->Width()), file);
    WritePrivateProfileString(section, "Height", std::to_string(Control->Height()), file);
}

void TKVMainForm::LoadPlacement() {
    if (!Control || place_ == Place::None) return;
    TPlacementRecord r;
    bool found = true;
    if (place_ == Place::Store) {
        found = ReadPlacement(PlaceKey.view(), r);
    } else {
        std::string file, section;
        iniLocation(file, section);
        r = ReadIniPlacement(file, section, Control->BoundsRect());
    }
    // Without a saved placement the design one is kept as it is, unless no
    // monitor shows any of it.
    const std::vector<TRect> monitors = MonitorAreas();
    if (found || !OnSomeMonitor(Control->BoundsRect(), monitors))
        Control->SetBoundsRect(RestoredPlacement(r, Control->BoundsRect(), monitors));
}
