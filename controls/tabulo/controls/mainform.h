#pragma once
// TKVMainForm: a top-level window component.
//
// The first instance of a program creates the application object and is the
// main form; closing it ends the program. Other instances are child windows:
// closing one hides it (it is not destroyed) and a later doVisible shows the
// same window again. A form keeps its placement (Left, Top, Height, Width)
// under PlaceKey: in the per-user placement store, or, when the key holds
// ".ini\", in an INI file in the program folder ("pos.ini\Main": file
// pos.ini, section Main).

#include <memory>

#include "tabulo/controls/win.h"
#include "tabulo/widgets/bitmap.h"
#include "tabulo/widgets/icon.h"

class TKVMainForm : public TKVWin {
public:
    explicit TKVMainForm(TControl* parent = nullptr);
    ~TKVMainForm() override;

    // ----- state
    bool IsMainForm = false;
    bool Shown = false;                   // the first showing has been handled
    uint32_t RememberedWindow = 0;        // handle of the form to re-activate when this one hides
    std::unique_ptr<TBitmap> Background;  // painted as the window background when not empty

    // ----- properties
    bool DragAnywhere = false;
    uint8_t AlphaBlend = 255;  // 0..254 that opacity, 255 opaque
    uint8_t WindowState = 0;   // at the first showing: 0 normal, 1 minimised, 2 maximised
    TText PlaceKey;
    bool ClientSize = false;  // Width and Height are the client-area size
    using TFormOp = void (TKVMainForm::*)();
    TFormOp StartPosition = &TKVMainForm::KeepPosition;  // run at the end of Init

    // ----- points
    TKV_Event pullCanClose;  // a non-zero answer refuses a close by the user
    TKV_Event onActivate, onDeactivate, onCreate, onClose;

    // ----- setters
    void SetCaption(const TText& caption);
    // 0..9 (see TControl::SetFrameStyle and the FrameStyle names below);
    // above 9 ignored.
    void SetFrameStyle(int style);
    // An empty icon (or nullptr) takes the parent window's icon.
    void SetIcon(const TIcon* icon);
    void SetIcon(const QIcon& icon);
    void SetHideFromTaskbar(int value);

    // ----- input points
    void doVisible(TData& value, uint16_t index) override;
    void doClose(TData& value, uint16_t index);
    void doRestore(TData& value, uint16_t index);
    void doMinimize(TData& value, uint16_t index);

    // ----- StartPosition operations
    void KeepPosition() {}
    void CenterOnScreen();

    // Placement: load (applied at the first showing) and save (on close).
    void LoadPlacement();
    void SavePlacement();

    void Init() override;
    void MouseDown(const TMouseInfo& m) override;
    void MouseMove(const TMouseInfo& m) override;
    void MouseUp(const TMouseInfo& m) override;
    bool HandleMessage(TControl& sender, TMsg& msg) override;
    void Showed() override;

private:
    enum class Place { None, Store, Ini };
    void deferredInit();
    // Answers whether the close request is consumed.
    // Gives the activation back to RememberedWindow (and forgets it): really
    // while a window of the program is active, as a notice only otherwise.
    void activateRemembered(bool ours);
    bool closeProcedure(bool fromProgram);
    void setState(TControl* form, uint8_t state);
    void iniLocation(std::string& file, std::string& section) const;

    Place place_ = Place::None;
    bool dragging_ = false;  // DragAnywhere: the window follows the pointer
    TPoint dragOffset_;      // pointer position in the window when the drag began
    TIcon icon_;
};

// TKVMainForm::SetFrameStyle values by what the window gets.
namespace FrameStyle {
inline constexpr int None = 0;
inline constexpr int Caption = 1;           // caption, minimise box
inline constexpr int Sizeable = 2;          // caption, sizing frame, minimise and maximise boxes
inline constexpr int CaptionEdge = 3;       // caption, window edge
inline constexpr int ToolCaption = 4;       // caption, tool window
inline constexpr int SizeableTool = 5;      // caption, sizing frame, tool window (no close box)
inline constexpr int ModalFrame = 6;        // modal frame
inline constexpr int SizeableToolBare = 7;  // sizing frame, tool window, no caption
inline constexpr int ClientModalFrame = 8;  // client edge, modal frame
inline constexpr int SizeableClient = 9;    // sizing frame, client edge
}  // namespace FrameStyle
