#pragma once
// What every page that shows a chart over its own controls shares: the
// picture, its loader, the "Scale" box, "Donate", and the links that show a
// loaded chart over the page and hide it again on a click.
//
//   Loader.pullFileName <-- ChartPath.getResult
//   Loader.onDecoded --> Loader.doDraw --(onLoad: bitmap)--> ShowPictureHub
//   ShowPictureHub  0 --> Picture.doLoad
//                   1 --> Picture.doBringToFront      (the chart covers the page)
//                   3 --> ScaleSwitch.doSwitch
//   Picture.onClick --> HidePictureHub
//   HidePictureHub  0 --> Picture.doSendToBack
//                   1 --> Picture.doClear             (the page shows again)
//                   2 --> ScaleSwitch.doSwitch
//                   n --> Loader.doRelease            (the picture's memory goes)
//   ScaleSwitch.onSwitch --> ScaleBox.doVisible       (0 hides, 1 shows)
//   ScaleBox.onCheck     --> Picture.doMode           (1 stretch, 0 centre)
//   DonateButton.onClick --> DonateHost input 0       (shows the donate window)
//
// The helpers only create, set, initialise, wire and register; each page
// calls them in its own creation order and fills the hubs' other outputs.

#include <cstdint>

#include "tabulo/app/base.h"

class TKVImage;
class TKvImageLoader;
class TKVFormatStr;
class TKVButton;
class TKVCheckBox;
class TKVHub;
class TKVSwitch;
class TKVMultiElementEx;
class TKVWin;

class TPicturePageSchema : public TClassbase_253CB10 {
public:
    using TClassbase_253CB10::TClassbase_253CB10;

    TKVImage* Picture = nullptr;
    TKvImageLoader* Loader = nullptr;
    TKVFormatStr* ChartPath = nullptr;  // made by the page: the chart's file name
    TKVButton* DonateButton = nullptr;
    TKVMultiElementEx* DonateHost = nullptr;
    TKVCheckBox* ScaleBox = nullptr;
    TKVHub* HidePictureHub = nullptr;
    TKVHub* ShowPictureHub = nullptr;
    TKVSwitch* ScaleSwitch = nullptr;

protected:
    // Picture: fills the panel, stretch mode, smooth, sized by its bitmap.
    void CreatePicture();
    // Loader, whose own file name is never used: it pulls ChartPath's.
    void CreateLoader();
    void CreateDonateButton();
    // DonateHost, building its window at once when the page sets a factory.
    void CreateDonateHost();
    void CreateScaleBox();
    // HidePictureHub with `hideOutputs` outputs, then ShowPictureHub with 4.
    void CreatePictureHubs(int hideOutputs);
    // A switch that shows its box on one toggle and hides it on the next;
    // it starts off, so its first toggle sends 0 (hide).
    TKVSwitch* CreateBoxSwitch();

    // Every link of the diagram above; `releaseOutput` is the output of
    // HidePictureHub that frees the picture.
    void WirePicture(int releaseOutput);
    // Every mouse-up leaves the page through the boundary, for the page
    // control's routing.
    void WireMouseUp(TKVWin* control);
    // A visual component's hint (an empty one registers nothing).
    static void RegisterHintOf(TKVWin* control);
};
