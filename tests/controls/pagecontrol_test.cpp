#include "tabulo/controls/pagecontrol.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/controls_test.h"
#include "tabulo/controls/panel.h"

namespace {
int built[5];

// A page that only makes its panel (named by its caption) and its boundary.
template <int N>
class TestPage : public TClassPolyBase {
public:
    static constexpr const char* Captions[5] = {"base", "Custom", "Hands", "Position", "About"};
    static inline const char* Caption = Captions[N];
    TKVPagePanel* Panel;

    TestPage(TKVContainer*, TControl* pageArea, TObject*) {
        ++built[N];
        Panel = Create<TKVPagePanel>(pageArea);
        Panel->Caption = Caption;
        Panel->Left = 35;
        Panel->Top = 105;
        Panel->Width = 400;
        Panel->Height = 300;
        Panel->Color = RGBColor(1, 2, 3);
        Panel->Init();
        Boundary = Create<TKVEditPolyMulti>(1, 1);
        TopControl = pageArea;
    }
};

struct PagesFixture : ::testing::Test {
    HostWindow host{282, 350};
    std::unique_ptr<TKVPageControl> pages;

    void SetUp() override {
        std::fill(std::begin(built), std::end(built), 0);
        pages = std::make_unique<TKVPageControl>(host.Control());
        pages->Align = caClient;
        pages->Width = 400;
        pages->Height = 300;
        pages->CreateAll = true;
        pages->RegisterPage("base", &MakePolySchema<TestPage<0>>);
        pages->RegisterPage("Custom", &MakePolySchema<TestPage<1>>);
        pages->RegisterPage("Hands", &MakePolySchema<TestPage<2>>);
        pages->RegisterPage("Position", &MakePolySchema<TestPage<3>>);
        pages->RegisterPage("Help", &MakePolySchema<TestPage<4>>);
    }
    void TearDown() override { TestPage<4>::Caption = "About"; }
};

TEST_F(PagesFixture, CreateAllBuildsEveryPageButTheTemplateInRegistryOrder) {
    pages->Initialize();
    EXPECT_EQ(built[0], 0);
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(built[n], 1) << n;
    TControl* strip = pages->TabStrip;
    ASSERT_EQ(strip->TabCount(), 4);
    EXPECT_EQ(strip->TabText(0), "Custom");
    EXPECT_EQ(strip->TabText(1), "Hands");
    EXPECT_EQ(strip->TabText(2), "Position");
    EXPECT_EQ(strip->TabText(3), "About");
    EXPECT_EQ(strip->CurrentTab(), 0);
    ASSERT_EQ(pages->PageCount(), 4);
    EXPECT_EQ(pages->PageAt(2).Name, "Position");
    // The tab strip fills the window; the page panels ignore their design geometry.
    EXPECT_EQ(strip->Width(), host.Control()->ClientWidth());
    EXPECT_EQ(strip->Height(), host.Control()->ClientHeight());
    EXPECT_NE(strip->TabPage(0)->Left(), 35);
}

TEST_F(PagesFixture, AnEmptyCaptionLeavesTheTabNamedTab) {
    TestPage<4>::Caption = "";
    pages->Initialize();
    EXPECT_EQ(pages->TabStrip->TabText(3), "tab");
}

TEST_F(PagesFixture, TabSwitchingShowsOnePageAreaAndKeepsThePagesBuilt) {
    pages->Initialize();
    host.Show();
    TControl* strip = pages->TabStrip;
    strip->SetCurrentTab(2);
    Pump();
    EXPECT_TRUE(strip->TabPage(2)->Visible());
    EXPECT_FALSE(strip->TabPage(0)->Visible());
    EXPECT_EQ(pages->PageCount(), 4);
    EXPECT_EQ(pages->Current, nullptr);  // a tab click does not change the current page
    TData one = MakeInt(1);
    pages->doSelect(one, 0);
    EXPECT_EQ(strip->CurrentTab(), 1);
    EXPECT_EQ(pages->Current, pages->PageAt(1).Boundary);
}

TEST_F(PagesFixture, AddAndDeletePages) {
    pages->CreateAll = false;
    pages->SelectNew = true;
    pages->Initialize();
    EXPECT_EQ(pages->TabStrip->TabCount(), 0);
    TData hands = MakeText("Hands"), unknown = MakeText("Nope"), help = MakeText("Help");
    pages->doAdd(hands, 0);
    pages->doAdd(help, 0);
    EXPECT_EQ(pages->TabStrip->CurrentTab(), 1);
    EXPECT_EQ(pages->TabStrip->TabText(1), "About");
    pages->doAdd(unknown, 0);  // a tab without a page
    EXPECT_EQ(pages->TabStrip->TabCount(), 3);
    EXPECT_EQ(pages->TabStrip->TabText(2), "tab");
    EXPECT_EQ(pages->PageCount(), 2);
    TData sel = MakeInt(1);
    pages->doSelect(sel, 0);
    TData del = MakeInt(1);
    pages->doDelete(del, 0);
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(pages->TabStrip->TabCount(), 2);
    EXPECT_EQ(pages->TabStrip->TabText(0), "Hands");
    EXPECT_EQ(pages->TabStrip->CurrentTab(), 0);  // the tab before the one that was selected
}
}  // namespace
