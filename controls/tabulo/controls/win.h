#pragma once
// TKVWin: the base of every visual component.
//
// It carries the properties every visual component has, applies them to its
// widget-layer control when the schema calls Init, and turns the control's
// mouse, key, focus, size and show notifications into output points.
//
// Life cycle, as the schemas use it:
//   auto* x = Create<TKVLabel>(parentControl);   // the parent's TControl
//   x->Left = ...; x->Font.Name = ...;           // public fields
//   x->SetCaption(...);                          // setters
//   x->Init();                                   // makes and configures the control
//   x->onClick = BindEvent<...>(...);            // links
//   x->AttachLayout(nullptr); x->RegisterHint(); // layout and tooltip

#include <cstdint>
#include <string>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"
#include "tabulo/widgets/control.h"

class TWinLayout;
class TToolTip;

// Names for the numbers the schemas set, as the properties read them.
namespace Align {  // TKVWin::Align: where the control sits in its parent
inline constexpr uint8_t None = caNone, Left = caLeft, Top = caTop, Right = caRight,
                         Bottom = caBottom, Client = caClient;  // Client: fills it
}  // namespace Align
namespace Border {  // TKVWin::BorderStyle
inline constexpr uint8_t ByEdge = 0, Single = 1, Default = 2;
}  // namespace Border
namespace FontStyle {  // TFontRec::Style bits
inline constexpr uint8_t Regular = 0, Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8;
}  // namespace FontStyle
namespace Charset {  // TFontRec::Charset
inline constexpr uint8_t Default = 1, Cyrillic = 204;
}  // namespace Charset

// The font record of every visual component.
struct TFontRec {
    TText Name;
    uint8_t Size = 8;                    // points
    uint8_t Style = FontStyle::Regular;  // FontStyle bits
    TColor Color = 0;                    // text colour
    uint8_t Charset = Charset::Default;
};

// Makes the optional second control (the companion) of a component on the
// parent control from four integer arguments.
struct TCompanionFactory {
    using Maker = TControl* (*)(TControl* parent, int a1, int a2, int a3, int a4);
    Maker Make = nullptr;
    int Args[4] = {0, 0, 0, 0};
};
// The companion the schemas use: a splitter bar of a1 x a1 pixels in colour a2.
TControl* MakeSplitterCompanion(TControl* parent, int size, int color, int, int);

// The last mouse record a control reported.
struct TMouseRecord {
    uint8_t Button = 0;  // 1 left, 2 right, 3 middle
    uint32_t State = 0;  // button and key bits; the high 16 bits carry the wheel delta
    int16_t X = 0, Y = 0;
};

// The value onMouseMove carries for a key/button state: 0, 1 or 2 when the
// state is exactly the left, right or middle button, otherwise -1.
int32_t MouseMoveValue(uint32_t state);

class TKVWin : public TObject {
public:
    explicit TKVWin(TControl* parent);
    ~TKVWin() override;

    // ----- state kept by the component
    bool Destroyed = false;  // the control's window is gone
    TControl* ParentControl = nullptr;
    TControl* Companion = nullptr;
    TMouseRecord LastMouse;
    int32_t KeyOverride = -1;  // >= 0 replaces the key handed back to the control
    TToolTip* HintRecord = nullptr;
    TWinLayout* Layout = nullptr;
    TControl* Control = nullptr;  // the owned control (made by Init, or earlier)

    // ----- properties the schemas set
    TText TagText;  // free text for the schema (slot buttons keep their section here)
    TText Name;     // instance name: becomes the control's object name
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint8_t Align = Align::None;
    int32_t TabOrder = 0;  // > 0: a tab stop at that position
    TColor Color = clBtnFace;
    uint8_t BorderStyle = Border::Default;  // ByEdge: the frame Edge names; Single: one line
    TText Hint;
    TFontRec Font;
    bool ParentFont = false;
    bool Visible = true;
    bool Enabled = true;
    int32_t Cursor = 0;
    bool CaptureMouse = false;
    bool Flat = false;
    bool ParentKeys = true;
    TCompanionFactory CompanionFactory;
    int32_t Edge =
        0;  // with BorderStyle 0: 1 none, 2 static, 3 modal frame, 4 client edge + modal frame
    int32_t LayoutWeight = 0;

    // ----- output points
    TKV_Event onKeyDown, onKeyUp, onKeyChar;
    TKV_Event onMouseDown, onMouseMove, onMouseUp, onMouseWheel;
    TKV_Event onSetFocus, onKillFocus, onDblClick;
    TKV_Event onResize, onShow, onMove;
    TKV_Event onMouseEnter, onMouseLeave;
    // ----- pull points, asked while the window is resized
    TKV_Event pullSizeW, pullSizeH;

    // ----- input and readable points (doVisible: a non-integer value counts as true)
    virtual void doVisible(TData& value, uint16_t index);
    void doEnabled(TData& value, uint16_t index);
    void doSendToBack(TData& value, uint16_t index);
    // To the top of the sibling order, shown.
    void doBringToFront(TData& value, uint16_t index);
    void getHandle(TData& value, uint16_t index);

    // ----- schema operations after Init
    // Stores the layout and adds the control to it with LayoutWeight.
    void AttachLayout(TWinLayout* layout);
    // Gives the control a tooltip with Hint (none when Hint is empty).
    void RegisterHint();

    // ----- operations descendants override
    virtual void KeyDown(int& key, uint32_t shift);
    virtual void KeyUp(int& key, uint32_t shift);
    virtual void KeyChar(std::string& ch, uint32_t shift);
    virtual void MouseDown(const TMouseInfo& m);
    virtual void MouseMove(const TMouseInfo& m);
    virtual void MouseOver();
    virtual void MouseLeave();
    virtual void MouseUp(const TMouseInfo& m);
    virtual void MouseWheel(const TMouseInfo& m);
    // Sees every message of the control first; answers true to consume it.
    virtual bool HandleMessage(TControl& sender, TMsg& msg);
    virtual void WindowDestroyed();
    virtual void Resized();
    virtual void Showed();
    virtual void Init();
    // The control layouts and managers work on.
    virtual TControl* GetControl() const { return Control; }

protected:
    // Applies the common properties to Control and installs the handlers.
    void InitControl();
    // The handlers alone: mouse, keys, size, show, destruction and the message hook.
    void InstallHandlers();
    // The font alone, from Font or the parent's.
    void ApplyFont();
    // The control is not freed by the destructor (a page area of the tab strip).
    bool OwnsControl = true;

private:
    void storeMouse(const TMouseInfo& m);
    bool parentKey(int& key, uint32_t shift, bool down);
    void applyBorder();
    void makeCompanion();

    TMessageHook previousHook_;
    bool hookInstalled_ = false;
};
