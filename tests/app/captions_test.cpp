// Every caption of every window fits the box it was given, in the face the
// control really draws it with (96 DPI, the stand-in faces of the widget
// layer; on a machine without them the faces fall back and this fails).

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>

#include "support/program_fixture.h"
#include "tabulo/widgets/control.h"
#include "tabulo/widgets/graphics.h"

namespace {

class Captions : public ProgramTest {
protected:
    void SetUp() override {
        SetScreenLogicalDpiForTesting(96);
        ProgramTest::SetUp();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        SetScreenLogicalDpiForTesting(0);
    }
};

// The width a caption may take inside its control.
int Room(QWidget* w) {
    if (auto* box = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton o;
        o.initFrom(box);
        const QStyle* s = box->style();
        return box->width() - s->pixelMetric(QStyle::PM_IndicatorWidth, &o, box) -
               s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &o, box);
    }
    if (auto* label = qobject_cast<QLabel*>(w)) return label->contentsRect().width();
    return w->width() - 2;  // buttons: inside the one-pixel frame
}

QString Caption(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return {};
}

TEST_F(Captions, EveryCaptionOfEveryControlFitsItsBox) {
    StartProgram();
    int checked = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!TControl::FromWidget(top)) continue;
        for (QWidget* w : top->findChildren<QWidget*>()) {
            if (!TControl::FromWidget(w)) continue;
            const QString text = Caption(w);
            if (text.isEmpty()) continue;
            ++checked;
            const int needed = QFontMetrics(w->font()).horizontalAdvance(text);
            EXPECT_LE(needed, Room(w))
                << '"' << text.toStdString() << "\" (" << w->objectName().toStdString() << ") in "
                << QFontInfo(w->font()).family().toStdString() << ' '
                << QFontInfo(w->font()).pixelSize() << " px";
        }
    }
    // The legend, the edit window, the slots, the cells, the check boxes.
    EXPECT_GT(checked, 39 + 169 + 36 + 11);
}

}  // namespace
