#pragma once
// The page template: the part every page of the main window shares.
//
//   page control --(page area)--> MakePage<Page>
//       Page(container, area, owner)       records the container's owner
//       BuildFrame(area):
//         InitPage(area)                   the page's panel: caption = tab text
//         Boundary  (1 input, 1 pull)      page <-> page control
//         panel hint, no layout, Tab-key navigation, TopControl = panel
//   page control, at once or after the window's first paint:
//       BuildContents() -> BuildPage()     the page's own components
//
// A page derives from TClassbase_253CB10, overrides InitPage with one call of
// MakePagePanel and BuildPage with its create / set / init / wire / register
// steps, and is registered with MakePage<Page>. The template creates the
// panel and the boundary before the page's own components, so the schema
// frees the page's components first, then the boundary, then the panel.

#include <memory>

#include "tabulo/runtime/multi.h"
#include "tabulo/runtime/schema.h"

class TKVPagePanel;

class TClassbase_253CB10 : public TClassPolyBase {
public:
    TClassbase_253CB10(TKVContainer* container, TControl* pageArea, TObject* owner);

    TKVContainer* PageContainer = nullptr;
    TObject* ContainerOwner = nullptr;  // the schema that holds the page control
    TKVPagePanel* Panel = nullptr;

    // The frame, run by MakePage once the page object is complete, so that
    // InitPage reaches the page's own version.
    void BuildFrame(TControl* pageArea);
    // The page's own components, on the panel (the page control calls it once).
    void BuildContents() override;

protected:
    // Makes Panel on the page area. The template's own panel is untitled
    // (its tab keeps the text "tab").
    virtual void InitPage(TControl* pageArea);
    // Creates the page's own components on Panel; the template has none.
    virtual void BuildPage() {}

    // A page panel with the design values every page uses and its own
    // caption and design rectangle, initialised.
    TKVPagePanel* MakePagePanel(TControl* pageArea, const char* caption, int left, int top,
                                int width, int height);
};

// The page factory the page control is given for each page.
template <class Page>
std::unique_ptr<TClassPolyBase> MakePage(TKVContainer* container, TControl* pageArea,
                                         TObject* owner) {
    auto page = std::make_unique<Page>(container, pageArea, owner);
    page->BuildFrame(pageArea);
    return page;
}
