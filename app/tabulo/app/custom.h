#pragma once
// The "Custom" page: 39 slots for the user's own charts, kept in
// "Custom.ini" beside the program (section "B"k per slot, keys "Caption" and
// "File").
//
//   SlotButton k --("B"k)--> SlotClickHub 0 --> CaptionPath (refresh captions)
//                                         1 --> ModeTest (Op1 <-- EditModeBox)
//   ModeTest true  --> EditWindowHost input 0       (edit window for "B"k)
//   ModeTest false --> ShowChartHub 0 --> FilePath.doFormat  ("%1Custom.ini")
//                                   1 --> FileReader.doRead  (key "File")
//   FileReader --> ChartPath ("%1") --> Loader --> ShowPictureHub
//   ShowPictureHub 0 Picture.doLoad, 1 Picture.doBringToFront,
//                  2 EditModeSwitch, 3 ScaleSwitch   (both boxes hide)
//   Picture.onClick --> HidePictureHub 0 doSendToBack, 1 doClear,
//                                      2 ScaleSwitch, 3 EditModeSwitch,
//                                      4 Loader.doRelease
//   Picture.onMouseEnter, every slot click, EditWindowHost output 0
//     --> CaptionPath ("%1Custom.ini") --> CaptionHubA --> CaptionHubB
//         --> CaptionHubC: CaptionReader k.doRead --> SlotButton k.doCaption
//   every visual component's onMouseUp --> Boundary output 0
//
// Slot k (1..39) sits in column (k-1) div 13 and row (k-1) mod 13:
// Left 87*column, Top 20 + 24*row, 86 x 23.

#include <array>

#include "tabulo/app/picturepage.h"
#include "tabulo/widgets/customini.h"

class TKVImage;
class TKvImageLoader;
class TKVCheckBox;
class TKVButton;
class TKVBitBtn;
class TKVHub;
class TKVini;
class TKVDir;
class TKVFormatStr;
class TKVIf_else;
class TKVSwitch;
class TKVMultiElementEx;
class TKVWin;

class TClassCustom_253CB10 : public TPicturePageSchema {
public:
    static constexpr int SlotCount = customini::SlotCount;
    static constexpr int SlotRows = 13;

    using TPicturePageSchema::TPicturePageSchema;

    // Geometry of slot k (1-based) by the slot rule.
    static int SlotLeft(int k) { return 87 * ((k - 1) / SlotRows); }
    static int SlotTop(int k) { return 20 + 24 * ((k - 1) % SlotRows); }

    TKVCheckBox* EditModeBox = nullptr;
    TKVini* FileReader = nullptr;
    TKVDir* FileDir = nullptr;
    TKVFormatStr* FilePath = nullptr;
    TKVMultiElementEx* EditWindowHost = nullptr;
    TKVIf_else* ModeTest = nullptr;
    TKVDir* CaptionDir = nullptr;
    TKVFormatStr* CaptionPath = nullptr;
    TKVHub* CaptionHubA = nullptr;
    TKVHub* ShowChartHub = nullptr;
    TKVHub* SlotClickHub = nullptr;
    // Index k-1 holds slot k.
    std::array<TKVBitBtn*, SlotCount> SlotButtons{};
    std::array<TKVini*, SlotCount> CaptionReaders{};
    TKVHub* CaptionHubB = nullptr;
    TKVHub* CaptionHubC = nullptr;
    TKVSwitch* EditModeSwitch = nullptr;

protected:
    void InitPage(TControl* pageArea) override;
    void BuildPage() override;

private:
    void createComponents();
    TKVini* createCaptionReader(int k);
    TKVBitBtn* createSlotButton(int k);
    void wire();
    void registerHints();
};
