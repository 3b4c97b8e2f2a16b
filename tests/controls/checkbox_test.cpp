#include "tabulo/controls/checkbox.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QWidget>
#include <vector>

#include "support/controls_test.h"
#include "tabulo_test/probe.h"

namespace {
// Records which output fired, in order.
class OrderProbe : public TObject {
public:
    std::vector<std::pair<uint16_t, int32_t>> Hits;
    void doEvent(TData& v, uint16_t index) { Hits.emplace_back(index, v.IntValue); }
};

void Click(TControl* c) {
    QWidget* w = c->Widget();
    const QPointF p(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

TEST(CheckBox, CheckedZeroMeansCheckedAndSettersFireNothing) {
    HostWindow host;
    LiveHooks hooks;
    Probe probe;
    TKVCheckBox scale(host.Control());
    scale.onCheck = probe.Link();
    EXPECT_EQ(scale.Control->Text(), "CheckBox");
    scale.SetChecked(0);
    scale.SetCaption("Scale");
    scale.Init();
    EXPECT_TRUE(scale.Control->Checked());
    EXPECT_EQ(scale.Control->Text(), "Scale");
    TKVCheckBox edit(host.Control());
    edit.SetChecked(1);
    edit.Init();
    EXPECT_FALSE(edit.Control->Checked());
    TData v;
    edit.getChecked(v, 0);
    EXPECT_EQ(v.IntValue, 0);
    scale.getChecked(v, 0);
    EXPECT_EQ(v.IntValue, 1);
    EXPECT_EQ(probe.Count(), 0u);
}

TEST(CheckBox, AClickFiresOnCheckThenOnClickWithTheNewState) {
    HostWindow host;
    LiveHooks hooks;
    OrderProbe order;
    TKVCheckBox box(host.Control());
    box.Width = 60;
    box.Height = 20;
    box.SetChecked(0);
    box.Init();
    box.onCheck = BindEvent<&OrderProbe::doEvent>(&order, 1);
    box.onClick = BindEvent<&OrderProbe::doEvent>(&order, 2);
    host.Show();
    Click(box.Control);
    ASSERT_EQ(order.Hits.size(), 2u);
    EXPECT_EQ(order.Hits[0], std::make_pair(uint16_t(1), 0));
    EXPECT_EQ(order.Hits[1], std::make_pair(uint16_t(2), 0));
    Click(box.Control);
    ASSERT_EQ(order.Hits.size(), 4u);
    EXPECT_EQ(order.Hits[2], std::make_pair(uint16_t(1), 1));
    EXPECT_EQ(order.Hits[3], std::make_pair(uint16_t(2), 1));
}
}  // namespace
