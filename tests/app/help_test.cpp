// The Help page ("About"): the about text and the colour legend.

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

#include "support/program_fixture.h"
#include "tabulo/app/help.h"
#include "tabulo/app/legend.h"
#include "tabulo/controls/label.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/controls/memo.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/controls/panel.h"
#include "tabulo/widgets/resources.h"
#include "tabulo_test/probe.h"

namespace {

class HelpPageTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        StartProgram();
        help_ = dynamic_cast<TClassHelp_253CB10*>(Schema()->Pages->PageAt(3).Schema.get());
        ASSERT_NE(help_, nullptr);
        // Show the About tab.
        auto* tabs = WidgetOf(Schema()->MainWindow->Control)->findChild<QTabBar*>();
        ASSERT_NE(tabs, nullptr);
        tabs->setCurrentIndex(3);
        Settle();
    }
    TClassChildPanel_261B4F0* Legend() const {
        return static_cast<TClassChildPanel_261B4F0*>(help_->LegendHost->Child->Schema);
    }

    TClassHelp_253CB10* help_ = nullptr;
};

TEST_F(HelpPageTest, AboutTextIsReadOnlyWithAVerticalScrollBar) {
    auto* memo = qobject_cast<QPlainTextEdit*>(WidgetOf(help_->AboutText->Control));
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->isVisible());
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_NE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QString expected = QString::fromStdString(ResourceText("Str4"));
    expected.replace("\r\n", "\n");
    EXPECT_EQ(memo->toPlainText(), expected);
    EXPECT_TRUE(memo->toPlainText().startsWith("Tabulo v. 1.3\n"));
}

TEST_F(HelpPageTest, TextFillsThePageBelowTheLegend) {
    QWidget* page = WidgetOf(help_->Panel->Control);
    QWidget* memo = WidgetOf(help_->AboutText->Control);
    QWidget* legend = WidgetOf(Legend()->LegendPanel->Control);
    EXPECT_EQ(legend->geometry(), QRect(0, 0, 265, 55));
    EXPECT_EQ(memo->geometry(), QRect(0, 55, page->width(), page->height() - 55));
    EXPECT_EQ(legend->parentWidget(), page);
}

struct LegendRow {
    const char* Caption;
    QRect Bounds;
    QColor Background;
    Qt::Alignment Alignment;
    bool Bold;
};

const LegendRow kLegend[] = {
    {"BU", {202, 19, 25, 15}, {82, 206, 248}, Qt::AlignHCenter, false},
    {"CO", {181, 19, 25, 15}, {255, 255, 0}, Qt::AlignHCenter, false},
    {"SB", {227, 19, 25, 15}, {61, 185, 57}, Qt::AlignHCenter, false},
    {"UTG", {125, 19, 33, 15}, {221, 0, 22}, Qt::AlignHCenter, false},
    {"MP", {156, 19, 25, 15}, {255, 157, 60}, Qt::AlignHCenter, false},
    {"Main chart (OpenRaise):", {5, 17, 120, 17}, {}, Qt::AlignLeft, false},
    {"Detailed charts:", {5, 35, 79, 17}, {}, Qt::AlignLeft, false},
    {"Raise/Reraise", {185, 35, 72, 17}, {221, 0, 22}, Qt::AlignHCenter, false},
    {"Call", {81, 35, 41, 17}, {255, 255, 0}, Qt::AlignHCenter, false},
    {"Raise/Fold", {121, 35, 64, 17}, {82, 206, 248}, Qt::AlignHCenter, false},
    {"Colors used:", {102, 2, 161, 17}, {}, Qt::AlignLeft, true},
};

TEST_F(HelpPageTest, LegendHasElevenLabelsInCreationOrder) {
    const auto& labels = Legend()->Labels;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const LegendRow& row = kLegend[i];
        auto* label = qobject_cast<QLabel*>(WidgetOf(labels[i]->Control));
        ASSERT_NE(label, nullptr) << row.Caption;
        EXPECT_EQ(label->text(), row.Caption);
        EXPECT_EQ(label->geometry(), row.Bounds) << row.Caption;
        EXPECT_TRUE(label->alignment() & row.Alignment) << row.Caption;
        EXPECT_EQ(label->font().bold(), row.Bold) << row.Caption;
    }
}

TEST_F(HelpPageTest, LegendColoursAndOverlapsFollowCreationOrder) {
    QWidget* panel = WidgetOf(Legend()->LegendPanel->Control);
    const QImage picture = panel->grab().toImage();
    auto at = [&](int x, int y) { return QColor(picture.pixel(x, y)); };
    // A spot inside each coloured label, away from its centred text and its border.
    for (const LegendRow& row : kLegend) {
        if (!row.Background.isValid()) continue;
        EXPECT_EQ(at(row.Bounds.right() - 2, row.Bounds.top() + 2), row.Background) << row.Caption;
    }
    // Where squares overlap, the one created later lies on top: MP over
    // UTG's right edge, CO over BU's left edge.
    EXPECT_EQ(at(157, 26), QColor(255, 157, 60));
    EXPECT_EQ(at(203, 26), QColor(255, 255, 0));
}

TEST_F(HelpPageTest, ReleasesOnThePageGoNowhere) {
    // The page and its legend have no wiring: a release over the text, the
    // legend or the page stays with the control under the pointer and is
    // not handed on to a parent, so the program is not minimised.
    QWidget* main = WidgetOf(Schema()->MainWindow->Control);
    auto* memo = qobject_cast<QPlainTextEdit*>(WidgetOf(help_->AboutText->Control));
    ASSERT_NE(memo, nullptr);
    Probe probe;
    Schema()->Pages->Outputs.at(0) = probe.Link(0);
    const std::pair<const char*, QWidget*> spots[] = {
        {"about text", memo->viewport()},
        {"legend label", WidgetOf(Legend()->Labels[0]->Control)},
        {"legend panel", WidgetOf(Legend()->LegendPanel->Control)},
        {"page", WidgetOf(help_->Panel->Control)},
    };
    for (const auto& [name, widget] : spots) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            QTest::mouseRelease(widget, button, {}, QPoint(3, 3));
        Settle();
        EXPECT_FALSE(main->isMinimized()) << name;
    }
    EXPECT_EQ(probe.Count(), 0u);
}

TEST_F(HelpPageTest, AboutTextOffersCopyOnTheContextMenu) {
    auto* memo = qobject_cast<QPlainTextEdit*>(WidgetOf(help_->AboutText->Control));
    ASSERT_NE(memo, nullptr);
    memo->selectAll();
    QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(5, 5),
                                memo->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(memo->viewport(), &menuAsked);
    QMenu* menu = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
    ASSERT_NE(menu, nullptr);
    bool copy = false;
    for (QAction* a : menu->actions())
        copy = copy || (a->text().contains("Copy") && a->isEnabled());
    menu->close();
    EXPECT_TRUE(copy);
}

}  // namespace
