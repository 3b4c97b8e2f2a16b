#include "tabulo/widgets/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "tabulo/runtime/message.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/control.h"

namespace {

TMessageBoxHook& Hook() {
    static TMessageBoxHook hook;
    return hook;
}

QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

int ShowQtBox(std::string_view caption, std::string_view text, uint32_t type) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                     static_cast<int>(text.size()), text.data());
        return (type & 0x0F) == MbYesNo ? IdNo : ((type & 0x0F) == MbOkCancel ? IdCancel : IdOk);
    }
    TControl* owner = MessageBoxOwner();
    QMessageBox box(owner ? owner->Widget() : nullptr);
    // A box stays above its owner, also when the owner stays on top.
    if (owner && owner->StaysOnTop()) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.setWindowTitle(ToQString(caption));
    box.setText(ToQString(text));
    switch (type & 0xF0) {
        case MbIconError:
            box.setIcon(QMessageBox::Critical);
            break;
        case MbIconQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case MbIconWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MbIconInformation:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    switch (type & 0x0F) {
        case MbOkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MbYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return IdOk;
        case QMessageBox::Yes:
            return IdYes;
        case QMessageBox::No:
            return IdNo;
        default:
            return IdCancel;
    }
}

void RuntimeMessage(const char* caption, const char* text) {
    MessageBox(caption ? caption : "", text ? text : "", MbOk);
}

}  // namespace

TControl* MessageBoxOwner() {
    TControl* active = ActiveForm();
    if (active && active->Visible()) return active;
    for (TControl* form : FormList())
        if (form->Widget()) return form;
    return nullptr;
}

int MessageBox(std::string_view caption, std::string_view text, uint32_t type) {
    if (Hook()) return Hook()(std::string(caption), std::string(text), type);
    return ShowQtBox(caption, text, type);
}

void SetMessageBoxHook(TMessageBoxHook hook) {
    Hook() = std::move(hook);
}

void InstallRuntimeMessageBox() {
    SetMessageFunction(&RuntimeMessage);
}
