#include "tabulo/widgets/opensavedialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "tabulo/widgets/paths.h"

namespace {

TOpenSaveDialogHook& Hook() {
    static TOpenSaveDialogHook hook;
    return hook;
}

QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

TOpenSaveAnswer RunQtDialog(const TOpenSaveRequest& request) {
    TOpenSaveAnswer answer;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return answer;
    QWidget* owner = request.Owner ? request.Owner : QApplication::activeWindow();
    QFileDialog dialog(owner, ToQString(request.Title), ToQString(request.InitialDir));
    dialog.setAcceptMode(request.OpenDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (request.MultiSelect)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else if (request.FilesMustExist)
        dialog.setFileMode(QFileDialog::ExistingFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontResolveSymlinks, !request.ResolveSymlinks);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    QStringList filters;
    for (const std::string& f : request.NameFilters) filters << QString::fromStdString(f);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.SelectedFilter));
    }
    if (!request.DefaultSuffix.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.DefaultSuffix));
    if (!request.FileName.empty()) dialog.selectFile(QString::fromStdString(request.FileName));
    if (dialog.exec() != QDialog::Accepted) return answer;
    answer.Accepted = true;
    for (const QString& f : dialog.selectedFiles()) answer.Files.push_back(f.toStdString());
    answer.SelectedFilter =
        std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return answer;
}

}  // namespace

std::vector<std::string> DialogFilterList(std::string_view filter) {
    std::vector<std::string_view> parts;
    while (true) {
        std::size_t bar = filter.find('|');
        parts.push_back(filter.substr(0, bar));
        if (bar == std::string_view::npos) break;
        filter.remove_prefix(bar + 1);
    }
    std::vector<std::string> list;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string_view name = parts[i];
        std::string patterns(parts[i + 1]);
        for (char& c : patterns)
            if (c == ';') c = ' ';
        // Qt reads the patterns from the last parentheses; keep them simple.
        QString p = QString::fromStdString(patterns).simplified();
        if (p.isEmpty()) p = QStringLiteral("*");
        QString n = ToQString(name).trimmed();
        if (n.isEmpty()) n = p;
        list.push_back((n + QStringLiteral(" (") + p + QLatin1Char(')')).toStdString());
    }
    return list;
}

std::string ConvertDialogFilter(std::string_view filter) {
    std::string out;
    for (const std::string& entry : DialogFilterList(filter)) {
        if (!out.empty()) out += ";;";
        out += entry;
    }
    return out;
}

void SetOpenSaveDialogHook(TOpenSaveDialogHook hook) {
    Hook() = std::move(hook);
}

TOpenSaveRequest TOpenSaveDialog::MakeRequest() const {
    TOpenSaveRequest r;
    r.OpenDialog = OpenDialog;
    r.Title = Title;
    r.InitialDir = NativePath(InitialDir);
    r.FileName = NativePath(FileName);
    r.NameFilters = DialogFilterList(Filter);
    const int count = static_cast<int>(r.NameFilters.size());
    r.SelectedFilter = (FilterIndex >= 1 && FilterIndex <= count) ? FilterIndex - 1 : 0;
    r.DefaultSuffix = DefExtension;
    while (!r.DefaultSuffix.empty() && r.DefaultSuffix.front() == '.') r.DefaultSuffix.erase(0, 1);
    r.Options = Options;
    r.MultiSelect = OpenDialog && (Options & osAllowMultiSelect);
    r.FilesMustExist = OpenDialog && (Options & osFileMustExist);
    r.ConfirmOverwrite = !OpenDialog && (Options & osOverwritePrompt);
    r.ResolveSymlinks = !(Options & osNoDereferenceLinks);
    r.Owner = Owner;
    return r;
}

bool TOpenSaveDialog::Execute() {
    const TOpenSaveRequest request = MakeRequest();
    const TOpenSaveAnswer answer = Hook() ? Hook()(request) : RunQtDialog(request);
    FileName.clear();
    if (!answer.Accepted || answer.Files.empty()) return false;
    if (!request.NameFilters.empty()) {
        const int count = static_cast<int>(request.NameFilters.size());
        FilterIndex = (answer.SelectedFilter >= 0 && answer.SelectedFilter < count)
                          ? answer.SelectedFilter + 1
                          : FilterIndex;
    }
    if (answer.Files.size() == 1) {
        FileName = answer.Files.front();
        return true;
    }
    // Several files: the folder, then each name, separated by CR.
    FileName = QFileInfo(QString::fromStdString(answer.Files.front())).absolutePath().toStdString();
    for (const std::string& file : answer.Files)
        FileName += '\r' + QFileInfo(QString::fromStdString(file)).fileName().toStdString();
    return true;
}
