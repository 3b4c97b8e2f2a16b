#include "tabulo/components/ini.h"

#include <cstdlib>

#include "tabulo/widgets/ini.h"
#include "tabulo/widgets/paths.h"

namespace {
std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != NativeSeparator()) folder.push_back(NativeSeparator());
    return folder;
}

std::string envFolder(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : std::string();
}

void replaceAll(std::string& s, std::string_view what, std::string_view by) {
    for (std::size_t pos = s.find(what); pos != std::string::npos;
         pos = s.find(what, pos + by.size()))
        s.replace(pos, what.size(), by);
}
}  // namespace

namespace {
bool readOncePerEvent(TEventDelivery deliver, void* context) {
    const TIniReadScope reads;
    return deliver(context);
}
}  // namespace

TIniReadsPerEvent::TIniReadsPerEvent() : previous_(SetEventScope(&readOncePerEvent)) {}
TIniReadsPerEvent::~TIniReadsPerEvent() {
    SetEventScope(previous_);
}

TKVini::TKVini() = default;
TKVini::~TKVini() {
    close();
}

std::string TKVini::WindowsFolder() {
    std::string config = envFolder("XDG_CONFIG_HOME");
    if (config.empty()) {
        const std::string home = envFolder("HOME");
        config = home.empty() ? TempFolder() : withSeparator(home) + ".config";
    }
    return withSeparator(config);
}

std::string TKVini::SystemFolder() {
    return withSeparator("/usr/lib");
}

std::string TKVini::ResolveFileName(std::string_view name) {
    std::string s(name);
    if (s.find('%') != std::string::npos) {
        replaceAll(s, "%windir%", WindowsFolder());
        replaceAll(s, "%tmpdir%", withSeparator(TempFolder()));
        replaceAll(s, "%sysdir%", SystemFolder());
    }
    if (!HasFolderPart(s)) s = ProgramFolder() + s;
    return s;
}

std::string TKVini::open(TData& value, bool write) {
    close();
    const TText name = ReadText(value, pullFileName, FileName);
    std::string resolved = ResolveFileName(name.view());
    File = new TIniFile(resolved);
    const TText section = ReadText(value, pullSection, Section);
    File->SetSection(section.view());
    File->SetMode(write ? TIniFileMode::Write : TIniFileMode::Read);
    return resolved;
}

void TKVini::close() {
    delete File;
    File = nullptr;
}

void TKVini::doRead(TData& value, uint16_t) {
    open(value, false);
    const TText key = ReadText(value, pullKey, Key);
    if (DataType == idtInteger) {
        const int32_t v = File->ValueInteger(key.view(), 0);
        close();
        ForwardInt(value, onResult, v);
    } else {
        TText v(File->ValueString(key.view(), std::string_view()));
        close();
        ForwardText(value, onResult, std::move(v));
    }
}

void TKVini::doWrite(TData& value, uint16_t) {
    const std::string resolved = open(value, true);
    if (DataType == idtInteger) {
        const int32_t v = ReadInt(value, pullValue, 0);
        const TText key = ReadText(value, pullKey, Key);
        File->ValueInteger(key.view(), v);
    } else {
        const TText v = ReadText(value, pullValue, TText());
        const TText key = ReadText(value, pullKey, Key);
        File->ValueString(key.view(), v.view());
    }
    const bool ok = File->LastWriteOk();
    close();
    if (!ok) FireText(onWriteFailed, TText(FullPathName(resolved)));
}

void TKVDir::getProgramDir(TData& value, uint16_t) {
    MakeText(value, TText(ProgramFolder()));
}
