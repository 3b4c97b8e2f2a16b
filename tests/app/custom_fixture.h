#pragma once
// The whole program with a scratch "Custom.ini": helpers shared by the tests
// of the Custom page and of the chart edit window.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QUrl>
#include <functional>
#include <string>
#include <vector>

#include "support/program_fixture.h"
#include "tabulo/app/custom.h"
#include "tabulo/app/editform.h"
#include "tabulo/app/mainschema.h"
#include "tabulo/components/flow.h"
#include "tabulo/controls/bitbtn.h"
#include "tabulo/controls/button.h"
#include "tabulo/controls/checkbox.h"
#include "tabulo/controls/edit.h"
#include "tabulo/controls/image.h"
#include "tabulo/controls/label.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/controls/panel.h"
#include "tabulo/runtime/multi.h"
#include "tabulo/widgets/control.h"
#include "tabulo/widgets/opensavedialog.h"

class CustomTest : public ProgramTest {
protected:
    void TearDown() override {
        SetOpenSaveDialogHook({});
        ProgramTest::TearDown();
    }

    // Starts the program and finds the Custom page and its edit window.
    void Start() {
        StartProgram();
        ASSERT_NE(Schema(), nullptr);
        TKVPageControl* pages = Schema()->Pages;
        for (int n = 0; n < pages->PageCount(); ++n) {
            if (auto* p = dynamic_cast<TClassCustom_253CB10*>(pages->PageAt(n).Schema.get()))
                page = p;
        }
        ASSERT_NE(page, nullptr);
        ASSERT_NE(page->EditWindowHost->Current, nullptr);
        editor = dynamic_cast<TClassChildFormEx_261A310*>(page->EditWindowHost->Current->Schema);
        ASSERT_NE(editor, nullptr);
    }

    std::string Folder() const { return folder_->path().toStdString() + "/"; }
    std::string IniPath() const { return Folder() + "Custom.ini"; }

    void WriteFile(const std::string& path, const std::string& bytes) {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    void WriteIni(const std::string& bytes) { WriteFile(IniPath(), bytes); }
    std::string ReadFile(const std::string& path) const {
        QFile f(QString::fromStdString(path));
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }
    std::string ReadIni() const { return ReadFile(IniPath()); }

    // A plain picture of one colour in the program folder; returns its path.
    std::string WritePng(const std::string& name, int w, int h, QColor color) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(color);
        const std::string path = Folder() + name;
        EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
        return path;
    }

    static QWidget* W(TKVWin* c) { return WidgetOf(c->Control); }
    TKVBitBtn* Slot(int k) const { return page->SlotButtons[std::size_t(k - 1)]; }
    std::string SlotCaption(int k) const { return Slot(k)->Control->Text().str(); }

    void Click(TKVWin* c) {
        QWidget* w = W(c);
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
        Settle();
    }
    void ClickSlot(int k) { Click(Slot(k)); }

    // The pointer moving over the picture part of the page.
    void HoverPicture() {
        QWidget* w = W(page->Picture);
        const QPoint p(w->width() - 5, w->height() / 2);
        QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        Settle();
    }

    void SetEditMode(bool on) {
        auto* box = qobject_cast<QAbstractButton*>(W(page->EditModeBox));
        ASSERT_NE(box, nullptr);
        if (box->isChecked() != on) box->click();
        Settle();
        TData checked;
        page->EditModeBox->getChecked(checked, 0);
        ASSERT_EQ(AsInt(checked), on ? 1 : 0);
    }

    // Lets the event loop run until the condition holds or 5 s have passed.
    static bool WaitFor(const std::function<bool()>& condition) {
        QDeadlineTimer deadline(5000);
        while (!condition()) {
            if (deadline.hasExpired()) return false;
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QTest::qWait(5);
        }
        return true;
    }
    bool ChartShown() const { return !page->Picture->Bitmap->Empty(); }
    // The widget that a click at the centre of slot k would reach.
    QWidget* TopAtSlot(int k) const {
        QWidget* slot = W(Slot(k));
        QWidget* parent = slot->parentWidget();
        return parent->childAt(slot->geometry().center());
    }

    // Edit window.
    QWidget* EditFormWidget() const { return W(editor->EditForm); }
    bool EditWindowOpen() const { return !EditFormWidget()->isHidden(); }
    QLineEdit* NameBox() const { return qobject_cast<QLineEdit*>(W(editor->NameEdit)); }
    std::string PathHeld() const { return editor->PathHolder->Control->Text().str(); }
    void TypeName(const QString& text) {
        QLineEdit* box = NameBox();
        ASSERT_NE(box, nullptr);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        Settle();
    }
    void PressSave() { Click(editor->SaveButton); }
    void DropFiles(const std::vector<std::string>& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
        data.setUrls(urls);
        QWidget* w = EditFormWidget();
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &drop);
        Settle();
    }

    TClassCustom_253CB10* page = nullptr;
    TClassChildFormEx_261A310* editor = nullptr;
};
