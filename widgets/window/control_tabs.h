#pragma once
// The tab strip and its page areas.

#include "control_kinds.h"

#include <vector>

class QTabWidget;

class TTabPageControl : public TControl {
public:
    explicit TTabPageControl(TControl* strip);
    bool PlacedByAlignment() const override { return false; }
};

class TTabControl : public TControl {
public:
    TTabControl(TControl* parent, bool buttons);
    ~TTabControl() override;
    bool StandardControl() const override { return true; }
    bool PaintsWindow() const override { return false; }
    TControl* AddTab(const TText& text) override;
    int TabCount() const override;
    TControl* TabPage(int i) const override;
    int TabIndexOfPage(const TControl* page) const override;
    TText TabText(int i) const override;
    void SetTabText(int i, const TText& text) override;
    void SetTabImage(int i, int imageIndex) override;
    int TabImage(int i) const override;
    void DeleteTab(int i) override;
    int CurrentTab() const override;
    void SetCurrentTab(int i) override;

private:
    // The tab strip's window while it lives.
    QTabWidget* tabs() const;
    struct TPage {
        TControl* Page;  // owned
        int Image;
    };
    std::vector<TPage> pages_;
};
