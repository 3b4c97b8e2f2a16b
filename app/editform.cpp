#include "tabulo/app/editform.h"

#include "tabulo/app/design.h"
#include "tabulo/components/dropfile.h"
#include "tabulo/components/filedialog.h"
#include "tabulo/components/flow.h"
#include "tabulo/components/formatstr.h"
#include "tabulo/components/ini.h"
#include "tabulo/components/routing.h"
#include "tabulo/components/showmessage.h"
#include "tabulo/controls/bitbtn.h"
#include "tabulo/controls/button.h"
#include "tabulo/controls/edit.h"
#include "tabulo/controls/label.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/widgets/customini.h"

namespace {

constexpr const char* ChartFilter = "*.png|*.png|*.gif|*.gif|*.jpg|*.jpg|*.jpeg|*.jpeg";
constexpr const char* SaveOk = "ok";
constexpr const char* SaveFailed = "failed";
constexpr const char* SaveFailMask =
    "Could not save the chart to\n%1\n\n"
    "The file or its folder may be read-only, or the disk may be full.\n"
    "Your entries are kept in this window; press Save to try again.";

// An INI value component of the custom-chart file: file name pulled from its
// own formatter, which takes the program folder from its own TKVDir.
TKVini* MakeSlotValue(TKVini* ini, std::string_view section, std::string_view key) {
    ini->Section = TText(section);
    ini->Key = TText(key);
    ini->DataType = idtString;
    return ini;
}

void SetPathMask(TKVFormatStr* path) {
    path->Mask = TText(customini::FileMask);
    path->SetCount(2);
}

}  // namespace

TClassChildFormEx_261A310::TClassChildFormEx_261A310(TKVContainer* container, TControl* parent,
                                                     TObject* /*owner*/) {
    createComponents(parent);
    EditBoundary->Container = container;
    EditBoundary->Schema = this;
    Boundary = EditBoundary;
    createSaveGuard();
    wire();
    registerHints();
}

void TClassChildFormEx_261A310::createComponents(TControl* parent) {
    EditForm = Create<TKVMainForm>(parent);
    // There is no icon of that name: the window takes its parent's icon.
    InitForm(EditForm, {.Name = "EditForm",
                        .Left = 35,
                        .Top = 105,
                        .Width = 260,
                        .Height = 192,
                        .Color = clBtnFace,
                        .Caption = "Edit",
                        .Frame = FrameStyle::SizeableTool,
                        .Icon = "KLVA",
                        .PlaceKey = "Tabulo\\EditForm",
                        .BorderStyle = Border::Default});

    EditBoundary = Create<TKVEditMultiEx>(1, 0);

    OpenDialog = Create<TKVODialog>();
    OpenDialog->Filter = ChartFilter;
    OpenDialog->Title = "Open Dialog";
    OpenDialog->InitDir = ".";
    OpenDialog->FileName = "nul";

    SelectButton = Create<TKVButton>(EditForm->Control);
    SelectButton->Name = "SelectButton";
    SetDesignBounds(SelectButton, 90, 50, 75, 20);
    SelectButton->Color = clBtnFace;
    SetDesignFont(SelectButton);
    SelectButton->Caption = "Select Chart";
    SelectButton->Init();

    NameEdit = Create<TKVEdit>(EditForm->Control);
    NameEdit->Name = "NameEdit";
    SetDesignBounds(NameEdit, 110, 5, 95, 20);
    NameEdit->Color = clWindow;
    SetDesignFont(NameEdit);
    NameEdit->Text = "";
    NameEdit->Password = false;
    NameEdit->ReadOnly = false;
    NameEdit->Alignment = 0;
    NameEdit->Init();

    NameLabel = Create<TKVLabel>(EditForm->Control);
    NameLabel->Name = "NameLabel";
    SetDesignBounds(NameLabel, 10, 10, 85, 17);
    NameLabel->Color = clBtnFace;
    SetDesignFont(NameLabel);
    NameLabel->Caption = "Input chart name";
    NameLabel->Init();

    FileDrop = Create<TKVDropFile>(EditForm->Control);

    DropLabel = Create<TKVLabel>(EditForm->Control);
    DropLabel->Name = "DropLabel";
    SetDesignBounds(DropLabel, 60, 95, 136, 17);
    DropLabel->Color = clBtnFace;
    SetDesignFont(DropLabel);
    DropLabel->Caption = "Or Drag'n'Drop  your file here";
    DropLabel->Init();

    SaveButton = Create<TKVBitBtn>(EditForm->Control);
    SaveButton->Name = "SaveButton";
    SetDesignBounds(SaveButton, 100, 130, 55, 20);
    SaveButton->Color = clBtnFace;
    SetDesignFont(SaveButton);
    SaveButton->NoFrame = false;
    SaveButton->FrameColor = 0x808080;
    SaveButton->Caption = "Save";
    SaveButton->Init();

    PathHolder = Create<TKVLabel>(EditForm->Control);
    PathHolder->Name = "PathHolder";
    SetDesignBounds(PathHolder, 5, 30, 15, 4);
    PathHolder->Color = clBtnFace;
    SetDesignFont(PathHolder);
    PathHolder->Caption = "";
    PathHolder->Init();

    CaptionLoad = MakeSlotValue(Create<TKVini>(), "", customini::CaptionKey);
    CaptionLoadDir = Create<TKVDir>();
    CaptionLoadPath = Create<TKVFormatStr>();
    SetPathMask(CaptionLoadPath);
    LoadHub = Create<TKVHub>();
    LoadHub->SetInCount(1);
    LoadHub->SetCount(4);
    OpenHub = Create<TKVHub>();
    OpenHub->SetInCount(2);
    OpenHub->SetCount(4);
    SaveHub = Create<TKVHub>();
    SaveHub->SetInCount(2);
    SaveHub->SetCount(4);
    SlotMemory = Create<TKVMemory>();
    MakeText(SlotMemory->Default, TText(""));
    SlotMemory->Init();
    CaptionSave = MakeSlotValue(Create<TKVini>(), "", customini::CaptionKey);
    CaptionSaveDir = Create<TKVDir>();
    CaptionSavePath = Create<TKVFormatStr>();
    SetPathMask(CaptionSavePath);
    CaptionSaveHub = Create<TKVHub>();
    CaptionSaveHub->SetInCount(1);
    CaptionSaveHub->SetCount(3);
    // Section "B1" is never used: the section is always pulled from SlotMemory.
    FileSave = MakeSlotValue(Create<TKVini>(), customini::SlotSection(1), customini::FileKey);
    FileSaveDir = Create<TKVDir>();
    FileSavePath = Create<TKVFormatStr>();
    SetPathMask(FileSavePath);
    FileLoad = MakeSlotValue(Create<TKVini>(), "", customini::FileKey);
    FileLoadDir = Create<TKVDir>();
    FileLoadPath = Create<TKVFormatStr>();
    SetPathMask(FileLoadPath);
    PathHub = Create<TKVHub>();
    PathHub->SetInCount(2);
    PathHub->SetCount(2);
}

void TClassChildFormEx_261A310::createSaveGuard() {
    SaveOkMark = Create<TKVFormatStr>();
    SaveOkMark->Mask = SaveOk;
    SaveOkMark->SetCount(0);
    SaveFailMark = Create<TKVFormatStr>();
    SaveFailMark->Mask = SaveFailed;
    SaveFailMark->SetCount(0);
    SaveState = Create<TKVMemory>();
    MakeText(SaveState->Default, TText(SaveOk));
    SaveState->Init();
    FileSavedTest = Create<TKVIf_else>();
    FileSavedTest->Type = ieEqual;
    MakeText(FileSavedTest->Op2, TText(SaveOk));
    CaptionSavedTest = Create<TKVIf_else>();
    CaptionSavedTest->Type = ieEqual;
    MakeText(CaptionSavedTest->Op2, TText(SaveOk));
    CloseHub = Create<TKVHub>();
    CloseHub->SetCount(2);
    SaveFailHub = Create<TKVHub>();
    SaveFailHub->SetInCount(2);
    SaveFailHub->SetCount(2);
    SaveFailText = Create<TKVFormatStr>();
    SaveFailText->Mask = SaveFailMask;
    SaveFailText->SetCount(1);  // %1: the file name that came with the failure
    SaveFailMessage = Create<TKVShowMessage>();
    SaveFailMessage->Caption = "Tabulo";
}

void TClassChildFormEx_261A310::wire() {
    // Opening for slot "B"k.
    EditBoundary->Inputs[0] = BindEvent<&TKVHub::doEvent>(OpenHub, 0);
    OpenHub->onEvent[0] = BindEvent<&TKVMainForm::doEnabled>(EditForm, 0);
    OpenHub->onEvent[1] = BindEvent<&TKVMainForm::doVisible>(EditForm, 0);
    OpenHub->onEvent[3] = BindEvent<&TKVMemory::doValue>(SlotMemory, 0);
    SlotMemory->onData = BindEvent<&TKVHub::doEvent>(LoadHub, 0);
    LoadHub->onEvent[0] = BindEvent<&TKVFormatStr::doFormat>(CaptionLoadPath, 0);
    LoadHub->onEvent[1] = BindEvent<&TKVini::doRead>(CaptionLoad, 0);
    LoadHub->onEvent[2] = BindEvent<&TKVFormatStr::doFormat>(FileLoadPath, 0);
    LoadHub->onEvent[3] = BindEvent<&TKVini::doRead>(FileLoad, 0);
    CaptionLoad->onResult = BindEvent<&TKVEdit::doText>(NameEdit, 0);
    FileLoad->onResult = BindEvent<&TKVHub::doEvent>(PathHub, 0);

    // Choosing the picture.
    SelectButton->onClick = BindEvent<&TKVODialog::doExecute>(OpenDialog, 0);
    OpenDialog->onExecute = BindEvent<&TKVHub::doEvent>(PathHub, 1);
    FileDrop->onDropFile = BindEvent<&TKVHub::doEvent>(PathHub, 1);
    PathHub->onEvent[0] = BindEvent<&TKVLabel::doCaption>(PathHolder, 0);

    // Saving: "File" first, then "Caption"; close and report only when both
    // reached the file.
    SaveButton->onClick = BindEvent<&TKVHub::doEvent>(SaveHub, 0);
    SaveHub->onEvent[0] = BindEvent<&TKVFormatStr::doFormat>(SaveOkMark, 0);
    SaveHub->onEvent[1] = BindEvent<&TKVFormatStr::doFormat>(FileSavePath, 0);
    SaveHub->onEvent[2] = BindEvent<&TKVini::doWrite>(FileSave, 0);
    SaveHub->onEvent[3] = BindEvent<&TKVIf_else::doCompare>(FileSavedTest, 0);
    FileSavedTest->pullOp1 = BindEvent<&TKVMemory::getValue>(SaveState, 0);
    FileSavedTest->onTrue = BindEvent<&TKVHub::doEvent>(CaptionSaveHub, 0);
    CaptionSaveHub->onEvent[0] = BindEvent<&TKVFormatStr::doFormat>(CaptionSavePath, 0);
    CaptionSaveHub->onEvent[1] = BindEvent<&TKVini::doWrite>(CaptionSave, 0);
    CaptionSaveHub->onEvent[2] = BindEvent<&TKVIf_else::doCompare>(CaptionSavedTest, 0);
    CaptionSavedTest->pullOp1 = BindEvent<&TKVMemory::getValue>(SaveState, 0);
    CaptionSavedTest->onTrue = BindEvent<&TKVHub::doEvent>(CloseHub, 0);
    CloseHub->onEvent[0] = BindEvent<&TKVMainForm::doClose>(EditForm, 0);
    CloseHub->onEvent[1] = BindEvent<&TKVBoundary::doOutput>(EditBoundary, 0);

    // A failed write: remember it and tell the user which file it was.
    SaveOkMark->onFormatted = BindEvent<&TKVMemory::doValue>(SaveState, 0);
    SaveFailMark->onFormatted = BindEvent<&TKVMemory::doValue>(SaveState, 0);
    FileSave->onWriteFailed = BindEvent<&TKVHub::doEvent>(SaveFailHub, 0);
    CaptionSave->onWriteFailed = BindEvent<&TKVHub::doEvent>(SaveFailHub, 1);
    SaveFailHub->onEvent[0] = BindEvent<&TKVFormatStr::doFormat>(SaveFailMark, 0);
    SaveFailHub->onEvent[1] = BindEvent<&TKVFormatStr::doFormat>(SaveFailText, 0);
    SaveFailText->onFormatted = BindEvent<&TKVShowMessage::doShow>(SaveFailMessage, 0);

    // Where the four INI values find the file, the slot and the values.
    CaptionLoad->pullFileName = BindEvent<&TKVFormatStr::getResult>(CaptionLoadPath, 0);
    FileLoad->pullFileName = BindEvent<&TKVFormatStr::getResult>(FileLoadPath, 0);
    CaptionSave->pullFileName = BindEvent<&TKVFormatStr::getResult>(CaptionSavePath, 0);
    FileSave->pullFileName = BindEvent<&TKVFormatStr::getResult>(FileSavePath, 0);
    CaptionLoadPath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(CaptionLoadDir, 0);
    FileLoadPath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(FileLoadDir, 0);
    CaptionSavePath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(CaptionSaveDir, 0);
    FileSavePath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(FileSaveDir, 0);
    CaptionSave->pullSection = BindEvent<&TKVMemory::getValue>(SlotMemory, 0);
    FileSave->pullSection = BindEvent<&TKVMemory::getValue>(SlotMemory, 0);
    CaptionSave->pullValue = BindEvent<&TKVEdit::getText>(NameEdit, 0);
    FileSave->pullValue = BindEvent<&TKVLabel::getCaption>(PathHolder, 0);
}

void TClassChildFormEx_261A310::registerHints() {
    TKVWin* visual[] = {EditForm,  SelectButton, NameEdit,  NameLabel,
                        DropLabel, SaveButton,   PathHolder};
    for (TKVWin* w : visual) {
        w->AttachLayout(nullptr);
        w->RegisterHint();
    }
}
