#pragma once
// TControl: one window (a QWidget) of the widget layer.
//
// Controls are made by the New... functions below and belong to whoever made
// them (free with `delete`). A control does not free the TControl objects of
// its children; when a parent's window goes, Qt deletes the child windows
// with it, each child control notices (its window is gone, OnDestroy runs,
// msgDestroy passes its hooks) and afterwards ignores every operation, so
// parents and children may be freed in any order.
//
// Each control has a 32-bit window handle from the layer's handle table,
// valid from creation until the control or its window goes;
// ControlFromHandle answers the control of a handle.
//
// Each kind of control (form, panel, label, buttons, edit boxes, tab strip,
// splitter) is a class of its own that owns its toolkit window; the New...
// functions make them, and callers see them as TControl. An operation of
// another kind (the lines of an edit box asked of a label) answers as an
// empty control would and changes nothing.
//
// Events reach a control in this order: the message hooks (global, applet,
// the control's own; see messages.h), and when none consumed the message,
// the event slots below (plain std::function members; an empty slot is
// skipped), then the toolkit's own handling.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tabulo/runtime/text.h"
#include "tabulo/widgets/canvas.h"
#include "tabulo/widgets/messages.h"

class QAbstractButton;
class QString;
class QWidget;
class TIcon;
struct TWidgetLink;
struct TmdvPanelData;

enum class TControlKind : uint8_t {
    Form,       // top-level window
    Panel,      // container with a caption (TmdvPanelData)
    Custom,     // plain child window painted by its owner (OnPaint)
    Label,      // static text
    Button,     // push button
    BitButton,  // owner-drawn button (OnDrawItem)
    CheckBox,
    Edit,        // single-line edit box
    Memo,        // multi-line edit box
    TabControl,  // tab strip with one page area per tab
    TabPage,     // page area of a tab (made by the tab strip)
    Splitter,    // bar that resizes its aligned neighbour
};

// Alignment of a child in its parent's client area.
enum : uint8_t { caNone = 0, caLeft = 1, caTop = 2, caRight = 3, caBottom = 4, caClient = 5 };
// Text alignment.
enum : uint8_t { taLeft = 0, taRight = 1, taCenter = 2 };
// Window states.
enum : uint8_t { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

// Style bits that change behaviour (the others are kept but do nothing).
enum : uint32_t {
    WS_TABSTOP = 0x00010000,      // child: reached by the Tab key
    WS_MAXIMIZEBOX = 0x00010000,  // top level: a maximise button
    WS_MINIMIZEBOX = 0x00020000,
    WS_SYSMENU = 0x00080000,     // top level: system menu, close button
    WS_THICKFRAME = 0x00040000,  // top level: resizable
    WS_BORDER = 0x00800000,      // single-line border
    WS_DLGFRAME = 0x00400000,
    WS_CAPTION = 0x00C00000,  // top level: title bar
    WS_VISIBLE = 0x10000000,
    WS_CHILD = 0x40000000,
    BS_FLAT = 0x00008000,  // flat button
};
enum : uint32_t {
    WS_EX_DLGMODALFRAME = 0x00000001,
    WS_EX_TOPMOST = 0x00000008,
    WS_EX_ACCEPTFILES = 0x00000010,
    WS_EX_TOOLWINDOW = 0x00000080,
    WS_EX_WINDOWEDGE = 0x00000100,
    WS_EX_CLIENTEDGE = 0x00000200,  // sunken 2-pixel edge
    WS_EX_STATICEDGE = 0x00020000,  // sunken 1-pixel edge
    WS_EX_LAYERED = 0x00080000,
};

// Edit box options, bit i = option i.
enum : uint32_t {
    eoNoHScroll = 1u << 0,
    eoNoVScroll = 1u << 1,
    eoLowercase = 1u << 2,
    eoMultiline = 1u << 3,
    eoNoHideSel = 1u << 4,
    eoOemConvert = 1u << 5,
    eoPassword = 1u << 6,
    eoReadonly = 1u << 7,
    eoUpperCase = 1u << 8,
    eoWantReturn = 1u << 9,
    eoWantTab = 1u << 10,
    eoNumber = 1u << 11,
};

// Cursor identifiers (0 = the control's default).
enum : int {
    crDefault = 0,
    crArrow = 32512,
    crIBeam = 32513,
    crWait = 32514,
    crCross = 32515,
    crUpArrow = 32516,
    crSizeNWSE = 32642,
    crSizeNESW = 32643,
    crSizeWE = 32644,
    crSizeNS = 32645,
    crSizeAll = 32646,
    crNo = 32648,
    crHandPoint = 32649,
    crAppStarting = 32650,
    crHelp = 32651,
};

// Owner-draw states of a bit button.
enum : int { odsNormal = 0, odsPressed = 1, odsDisabled = 2, odsFocused = 3, odsHot = 4 };

// Panel caption layout and paint hook. VAlign: 0 top, 1 centre, 2 bottom;
// HAlign: 0 left, 1 centre, 2 right.
struct TmdvPanelData : public TObj {
    uint8_t VAlign = 1;
    uint8_t HAlign = 1;
    int16_t Value1 = 0;  // kept for the owner; the caption ignores it
    int16_t Value2 = 0;
    // Runs after the caption is drawn, every paint.
    std::function<void(TControl&, TCanvas&)> PaintHook;
};

class TControl : public TObj {
public:
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    // ----- identity
    TControlKind Kind() const { return kind_; }
    bool IsForm() const { return kind_ == TControlKind::Form; }
    // The 32-bit window handle (0 once the window is gone).
    uint32_t Handle() const;
    bool HandleAllocated() const { return Handle() != 0; }
    // Makes sure the window exists (it does from creation on; kept for callers
    // that follow the create-now step).
    void CreateWindow();
    // The toolkit window; nullptr once it is gone.
    QWidget* Widget() const;
    // Object name of the window (tests find windows by it).
    void SetName(const std::string& name);
    std::string Name() const;

    // ----- family
    TControl* Parent() const { return parent_; }
    int ChildCount() const { return int(children_.size()); }
    TControl* Child(int i) const;
    const std::vector<TControl*>& Children() const { return children_; }
    // The nearest form containing this control (itself for a form).
    TControl* ParentForm();

    // ----- geometry (pixels; a child's position is in its parent's client
    // area, a form's on the screen; a form's size is its client size)
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int x) { SetPosition(x, Top()); }
    void SetTop(int y) { SetPosition(Left(), y); }
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    void SetPosition(int x, int y);
    // Passes msgSizeChanging through the hooks first; they may change the size.
    void SetSize(int w, int h);
    TRect BoundsRect() const;
    void SetBoundsRect(const TRect& r);
    // The client area, always at (0, 0).
    TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientSize(int w, int h);
    void SetClientWidth(int w) { SetClientSize(w, ClientHeight()); }
    void SetClientHeight(int h) { SetClientSize(ClientWidth(), h); }
    TPoint ScreenToClient(TPoint p) const;
    TPoint ClientToScreen(TPoint p) const;

    // Alignment in the parent (ca*); children are re-aligned on every resize
    // of their parent and on every change of their alignment or visibility.
    uint8_t Align() const { return align_; }
    void SetAlign(uint8_t a);
    // Pixels between aligned children and around them (default 0).
    int Spacing() const { return spacing_; }
    void SetSpacing(int px);
    void AlignChildren();

    // Sibling order.
    void BringToFront();
    void SendToBack();

    // ----- state
    TText Text() const;
    void SetText(const TText& text);
    bool Visible() const;
    void SetVisible(bool on);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool on);
    bool Focused() const;
    void SetFocus();
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);
    // The font; changes apply at once. Copy a parent's with Font().Assign(..).
    TGraphicTool& Font() { return font_; }
    // The canvas the paint slots get (bound only while painting). Its brush
    // starts in the control's colour.
    TCanvas& Canvas() { return canvas_; }

    uint32_t Style() const { return style_; }
    void SetStyle(uint32_t style);
    uint32_t ExStyle() const { return exStyle_; }
    void SetExStyle(uint32_t exStyle);
    bool Flat() const { return (style_ & BS_FLAT) != 0; }
    void SetFlat(bool on);
    bool TabStop() const { return (style_ & WS_TABSTOP) != 0 && !IsForm(); }
    void SetTabStop(bool on);
    // Position in the Tab-key order of the form (lower first); 0 keeps the
    // creation order.
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order);
    // Forms: the Tab key moves the focus between tab stops (on by default).
    bool TabNavigation() const { return tabNavigation_; }
    void SetTabNavigation(bool on) { tabNavigation_ = on; }

    void SetIcon(const TIcon* icon);
    const TIcon* Icon() const { return icon_; }
    int Cursor() const { return cursor_; }
    void SetCursor(int cursor);

    // Buttons and check boxes.
    bool Checked() const;
    void SetChecked(bool on);  // does not fire OnClick
    // Default (Enter) and cancel (Escape) button of the form.
    void SetDefaultButton(bool on);
    void SetCancelButton(bool on);
    bool DefaultButton() const { return isDefault_; }
    bool CancelButton() const { return isCancel_; }
    // Bit buttons: content shift while pressed (used by the drawing owner).
    TPoint TextShift() const { return textShift_; }
    void SetTextShift(int dx, int dy) { textShift_ = {dx, dy}; }
    // Owner-draw state of a bit button (ods*).
    int DrawState() const;

    // Text alignment of labels and edit boxes (ta*).
    uint8_t TextAlign() const { return textAlign_; }
    void SetTextAlign(uint8_t a);
    // Labels: word wrap; and sizing to the text.
    virtual void SetWordWrap(bool on);
    void AutoSizeToText();

    // ----- edit boxes
    uint32_t EditOptions() const { return editOptions_; }
    virtual bool ReadOnly() const { return false; }
    virtual void SetReadOnly(bool on);
    virtual int LineCount() const { return 0; }
    virtual TText Line(int) const { return TText(); }
    virtual int LineStart(int) const { return -1; }  // -1 outside the lines
    virtual int SelStart() const { return 0; }
    virtual int SelLength() const { return 0; }
    virtual void SetSelection(int, int) {}
    virtual TText SelText() const { return TText(); }
    virtual void ReplaceSelection(const TText&) {}
    int TextLength() const;
    // Redraw off/on around many changes (nests).
    void BeginUpdate();
    void EndUpdate();

    // ----- tab strip
    // Appends a tab; answers its page area (owned by the tab strip).
    virtual TControl* AddTab(const TText&) { return nullptr; }
    virtual int TabCount() const { return 0; }
    virtual TControl* TabPage(int) const { return nullptr; }
    virtual int TabIndexOfPage(const TControl*) const { return -1; }
    virtual TText TabText(int) const { return TText(); }
    virtual void SetTabText(int, const TText&) {}
    virtual void SetTabImage(int, int) {}
    virtual int TabImage(int) const { return -1; }
    virtual void DeleteTab(int) {}
    virtual int CurrentTab() const { return -1; }
    virtual void SetCurrentTab(int) {}  // out of range: ignored

    // ----- panels
    virtual TmdvPanelData* PanelData() const { return nullptr; }

    // ----- painting
    void Invalidate();
    void Update();  // paints now

    // ----- mouse
    void SetCapture();
    static void ReleaseCapture();
    static TControl* Capture();
    bool MouseInside() const;
    // Hover/leave tracking: msgMouseHover and msgMouseLeave (and the slots)
    // are delivered while tracking is on (default on).
    void SetTrackMouse(bool on) { trackMouse_ = on; }
    bool TrackMouse() const { return trackMouse_; }
    // Accept files dropped on the window (msgDropFiles).
    void SetAcceptDrops(bool on);
    // The control's paint covers every pixel of it, so what lies beneath
    // (the parent, lower siblings) is not painted there first.
    void SetOpaquePaint(bool on);

    // ----- top-level windows
    // Frame style 0..9 (style and extended-style bits as the window tables
    // give them; above 9 ignored).
    void SetFrameStyle(int style);
    bool StaysOnTop() const;
    // Changes the window flag only when the wanted state differs.
    void SetStaysOnTop(bool on);
    // 0..254: that opacity; 255: opaque.
    uint8_t AlphaBlend() const { return alpha_; }
    void SetAlphaBlend(uint8_t alpha);
    void SetToolWindow(bool on);
    void SetFrameless(bool on);
    uint8_t WindowState() const;
    // Changes the state only when it differs; activate false shows or
    // minimises without taking the focus.
    void SetWindowState(uint8_t state, bool activate = false);
    // Shows a hidden window, activating it or not.
    void ShowWindow(bool activate);
    void Activate();
    bool Active() const;
    // Closes the window as the user would (msgClose passes the hooks, WParam
    // 0), or as the program (WParam 1). Answers true when the window closed.
    bool Close(bool fromProgram = false);
    // Modal state of a form: set by a hook to end a modal run.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int r) { modalResult_ = r; }
    TControl* ModalChild() const { return modalChild_; }

    // ----- message hook
    // Installs a hook; answers the previous one (keep it to pass messages on
    // and to put it back).
    TMessageHook SetMessageHook(TMessageHook hook);
    const TMessageHook& MessageHook() const { return hook_; }
    // Offers a message to the hooks (global, applet, own); true = consumed.
    bool Perform(TMsg& msg);

    // ----- event slots
    using TNotify = std::function<void(TControl&)>;
    using TMouseSlot = std::function<void(TControl&, const TMouseInfo&)>;
    // key: the virtual key code; set it to 0 to swallow the key.
    using TKeySlot = std::function<void(TControl&, int& key, uint32_t shift)>;
    // ch: the typed character (UTF-8); clear it to swallow.
    using TCharSlot = std::function<void(TControl&, std::string& ch, uint32_t shift)>;
    using TPaintSlot = std::function<void(TControl&, TCanvas&)>;
    // Owner draw: the canvas, the client rectangle and the ods* state; answer
    // true when drawn (otherwise the default look is painted).
    using TDrawItemSlot = std::function<bool(TControl&, TCanvas&, const TRect&, int state)>;
    // Close: set accept false to keep the window open.
    using TCloseSlot = std::function<void(TControl&, bool& accept)>;

    TMouseSlot OnMouseDown, OnMouseUp, OnMouseMove, OnMouseDblClk, OnMouseWheel;
    TNotify OnMouseEnter, OnMouseLeave;
    TKeySlot OnKeyDown, OnKeyUp;
    TCharSlot OnChar;
    TNotify OnClick, OnChange;
    TPaintSlot OnPaint;
    TDrawItemSlot OnDrawItem;
    TCloseSlot OnClose;
    TNotify OnShow, OnHide, OnResize, OnMove, OnSetFocus, OnKillFocus;
    // The window is gone (destroyed by its parent, or closed for good).
    TNotify OnDestroy;

    // The control of a toolkit window (nullptr for foreign windows).
    static TControl* FromWidget(const QWidget* w);

    // For the layer's implementation.
    struct Impl;
    Impl* impl() const { return d_.get(); }
    // What sets the kinds apart, for the layer's event and paint handling.
    // A toolkit control of its own: it takes the focus and reports its
    // clicks itself (every other kind is clicked by the layer).
    virtual bool StandardControl() const { return false; }
    // Paints its whole window before (instead of) the toolkit.
    virtual bool PaintsWindow() const { return true; }
    // Painted by its owner through OnDrawItem; DrawDefaultLook when not.
    virtual bool OwnerDrawn() const { return false; }
    virtual void DrawDefaultLook(TCanvas&, const TRect&, int /*state*/) {}
    // Drawn on the background before the border and OnPaint.
    virtual void DrawCaption(TCanvas&, const TRect&) {}
    // Enter and Escape in the form may press it (default, cancel button).
    virtual bool PressedByKeys() const { return false; }
    // A mouse message passed its hooks and slot (pos on the screen).
    virtual void MouseHandled(const TMsg&, TPoint /*screenPos*/) {}
    // The pointer came or went.
    virtual void HoverChanged() {}
    // The size or the enabled state changed.
    virtual void LookChanged() {}
    // Placed by its parent's alignment (a tab page is placed by its strip).
    virtual bool PlacedByAlignment() const { return true; }

protected:
    TControl(TControlKind kind, TControl* parent);
    // Takes the kind's window (made by the kind's constructor) and sets up
    // what every window shares.
    void adopt(QWidget* w, TWidgetLink* link);
    // The text the window shows as it was set (a memo's with CR LF).
    virtual QString shownText() const;
    // Shows utf8; false when the window showed it already (nothing done).
    virtual bool showText(std::string_view utf8);
    // Buttons and check boxes: the toolkit button.
    virtual QAbstractButton* button() const { return nullptr; }
    virtual void applyDefault() {}
    virtual void applyIcon() {}
    virtual void applyTextAlign();
    // Style bits the kind's window shows (frame, flat look).
    virtual void applyKindStyle() {}
    // The background colour is the text area's (edit boxes).
    virtual bool backgroundIsTextArea() const { return false; }
    // Applies the style bits to the window (a form: its frame flags).
    virtual void applyStyle();
    // The window is shown and about to be mapped.
    virtual void aboutToMap() {}

    friend struct Impl;
    void applyFont();
    void applyColors();
    void restoreQuietly(uint8_t state);

    TControlKind kind_;
    TControl* parent_ = nullptr;
    std::vector<TControl*> children_;
    std::unique_ptr<Impl> d_;
    TGraphicTool font_{TGraphicToolKind::Font};
    TCanvas canvas_;
    TMessageHook hook_;
    const TIcon* icon_ = nullptr;
    TColor color_ = clBtnFace;
    uint32_t style_ = 0;
    uint32_t exStyle_ = 0;
    uint32_t editOptions_ = 0;
    int cursor_ = 0;
    int spacing_ = 0;
    int tabOrder_ = 0;
    int modalResult_ = 0;
    TControl* modalChild_ = nullptr;
    TPoint textShift_{1, 1};
    uint8_t align_ = caNone;
    uint8_t textAlign_ = taLeft;
    uint8_t alpha_ = 255;
    bool parentColor_ = false;
    bool isDefault_ = false;
    bool isCancel_ = false;
    bool trackMouse_ = true;
    bool tabNavigation_ = true;
};

// ----- constructors (the caller owns the result)

// A top-level window, hidden. The first form made becomes the applet (the
// main form) unless an applet exists. `parent` is the owner window or nullptr.
TControl* NewForm(TControl* parent, const TText& caption);
// A panel: a container that draws its text by the alignment given, then
// runs the panel data's paint hook.
TControl* NewPanel(TControl* parent, const TText& caption = TText(), uint8_t vAlign = 1,
                   uint8_t hAlign = 1, int16_t value1 = 0, int16_t value2 = 0);
// A plain child window painted by its owner through OnPaint.
TControl* NewControl(TControl* parent);
TControl* NewLabel(TControl* parent, const TText& caption);
TControl* NewButton(TControl* parent, const TText& caption);
// An owner-drawn button: paints through OnDrawItem; a double click counts as
// a second click.
TControl* NewBitButton(TControl* parent, const TText& caption);
TControl* NewCheckBox(TControl* parent, const TText& caption);
// Single-line edit box, or multi-line with eoMultiline.
TControl* NewEdit(TControl* parent, uint32_t options);
// Tab strip; `buttons` draws the tabs as buttons.
TControl* NewTabControl(TControl* parent, bool buttons = false);
// A splitter bar: dragging it resizes the aligned sibling before it, keeping
// at least minPrev pixels for it and minNext for the rest.
TControl* NewSplitter(TControl* parent, int minPrev = 0, int minNext = 0);

// The handle table.
TControl* ControlFromHandle(uint32_t handle);
