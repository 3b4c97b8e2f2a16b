#pragma once
// The whole program with the default chart pack in its program folder, and
// the steps the chart-page tests share: find a page, click a cell, wait for
// the chart, click the picture.
//
//   TEST_F(ChartPageTest, ...) {
//       auto* page = StartWithPage<TClassHands_253CB10>("Hands");
//       Click(page->Cells[0]);
//       ASSERT_TRUE(WaitForChart(page));
//   }

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "support/program_fixture.h"
#include "tabulo/app/chartpage.h"
#include "tabulo/app/mainschema.h"
#include "tabulo/components/formatstr.h"
#include "tabulo/components/imageloader.h"
#include "tabulo/controls/bitbtn.h"
#include "tabulo/controls/button.h"
#include "tabulo/controls/checkbox.h"
#include "tabulo/controls/image.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/controls/panel.h"
#include "tabulo/widgets/bitmap.h"
#include "tabulo/widgets/control.h"
#include "tabulo_test/probe.h"

class ChartPageTest : public ProgramTest {
protected:
    // The pack the build renders beside the program: <build>/img, two levels
    // above the test executable (<build>/tests/app).
    static QString BuiltPack() {
        return QDir(QCoreApplication::applicationDirPath() + "/../../img").absolutePath();
    }

    void SetUp() override {
        ProgramTest::SetUp();
        const QString from = BuiltPack();
        ASSERT_TRUE(QFileInfo::exists(from + "/Positions/MPvsUTG.png"))
            << "the default chart pack is missing at " << from.toStdString()
            << " (build the target chartpack)";
        const QString to = folder_->path() + "/img";
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = to + file.mid(from.size());
            QDir().mkpath(QFileInfo(target).path());
            // A plain copy: QFile::copy goes through an unnamed temporary
            // file, which is slow to make 205 times on ext4.
            std::error_code error;
            std::filesystem::copy_file(file.toStdString(), target.toStdString(), error);
            ASSERT_FALSE(error) << target.toStdString() << ": " << error.message();
        }
    }

    // Starts the program and shows the page with that name.
    template <class Page>
    Page* StartWithPage(const std::string& name) {
        StartProgram();
        TKVPageControl* pages = Schema()->Pages;
        Page* found = nullptr;
        for (int i = 0; i < pages->PageCount(); ++i) {
            if (pages->PageAt(i).Name == name) {
                found = dynamic_cast<Page*>(pages->PageAt(i).Schema.get());
                if (auto* tabs = WidgetOf(Schema()->MainWindow->Control)->findChild<QTabWidget*>())
                    tabs->setCurrentIndex(i);
            }
        }
        WidgetOf(Schema()->MainWindow->Control)->show();
        Settle();
        return found;
    }

    // The file a page shows for a key.
    QString PictureFile(const char* folder, const std::string& key) const {
        return folder_->path() + "/img/" + folder + "/" + QString::fromStdString(key) + ".png";
    }

    static void Click(TKVWin* control, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(WidgetOf(control->Control), button);
    }
    static void ClickAt(TKVWin* control, QPoint at) {
        QTest::mouseClick(WidgetOf(control->Control), Qt::LeftButton, {}, at);
    }

    static bool HasChart(const TChartPageSchema* page) { return !page->Picture->Bitmap->Empty(); }
    static bool ScaleBoxShown(const TChartPageSchema* page) {
        return WidgetOf(page->ScaleBox->Control)->isVisibleTo(WidgetOf(page->Panel->Control));
    }
    // Whether the picture is what the page shows at that point of its panel.
    static bool PictureCovers(const TChartPageSchema* page, QPoint at) {
        return WidgetOf(page->Panel->Control)->childAt(at) == WidgetOf(page->Picture->Control);
    }

    // Pumps the event loop until the page holds a chart (the decoder runs on
    // a worker; its completion arrives through the loop).
    static bool WaitForChart(const TChartPageSchema* page) {
        return QTest::qWaitFor([page] { return HasChart(page); }, 10000);
    }

    // The shown bitmap is the picture file, pixel for pixel.
    static ::testing::AssertionResult ShowsFile(const TChartPageSchema* page, const QString& file) {
        const QImage expected(file);
        if (expected.isNull())
            return ::testing::AssertionFailure() << "cannot read " << file.toStdString();
        const QImage& shown = page->Picture->Bitmap->Image();
        if (shown.size() != expected.size())
            return ::testing::AssertionFailure()
                   << "shown " << shown.width() << "x" << shown.height() << ", file "
                   << expected.width() << "x" << expected.height();
        const QImage a = shown.convertToFormat(QImage::Format_RGB32);
        const QImage b = expected.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
        return ::testing::AssertionSuccess();
    }

    // A plain picture of one colour in place of a pack file.
    void ReplacePicture(const QString& file, int w, int h, QColor colour) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(file, "PNG"));
    }

    // The picture as the screen shows it.
    static QImage Shot(const TChartPageSchema* page) {
        return WidgetOf(page->Picture->Control)->grab().toImage();
    }
    // Releases the middle button over the picture, every cell, "Donate" and
    // "Scale": each release must leave the page control as the number 2.
    template <class Page>
    void ExpectEveryControlReportsItsMouseButton(Page* page) {
        Probe probe;
        Schema()->Pages->Outputs.at(0) = probe.Link(0);
        std::vector<TKVWin*> controls{page->Picture};
        controls.insert(controls.end(), page->Cells.begin(), page->Cells.end());
        controls.push_back(page->DonateButton);
        controls.push_back(page->ScaleBox);
        for (TKVWin* c : controls) QTest::mouseRelease(WidgetOf(c->Control), Qt::MiddleButton);
        ASSERT_EQ(probe.Count(), controls.size());
        for (const auto& hit : probe.Hits) EXPECT_EQ(AsInt(hit.Value), 2);
    }

    // Two clicks on "Donate" show the page's one donate window, of the
    // schema class Donate, built with the page.
    template <class Donate>
    void ExpectDonateShowsOneWindow(TChartPageSchema* page) {
        ASSERT_EQ(page->DonateHost->InstanceCount(), 1);  // built with the page, hidden
        EXPECT_NE(dynamic_cast<Donate*>(page->DonateHost->Instance(0)->Schema), nullptr);
        Click(page->DonateButton);
        Click(page->DonateButton);
        Settle();
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            shown += w->objectName() == "DonateForm" && w->isVisible() ? 1 : 0;
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(page->DonateHost->InstanceCount(), 1);
    }
};
