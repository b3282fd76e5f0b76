// Shell integration: shell links, special folders, the Send To shortcut, opening documents.
#include "platform/win32/shell.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace vaultwing::platform {
namespace win32 {
namespace {

// COM for the calling thread while the object lives; a thread that already has COM keeps it.
class ComScope {
public:
    ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    // False only when COM cannot be used on this thread at all.
    [[nodiscard]] bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

template <typename T> struct Released {
    T* p = nullptr;
    Released() = default;
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;
    ~Released() {
        if (p != nullptr) p->Release();
    }
};

constexpr const char* kSendToLinkName = "\\Vaultwing.lnk";
constexpr const char* kSendToTarget = "\\VWX.EXE";

} // namespace

bool CreateLink(const std::string& target, const std::string& linkFile, const std::string& arguments,
                const std::string& description, const std::string& workingDir, const std::string& iconFile,
                int iconIndex) {
    const auto wideTarget = ToWide(target);
    const auto wideArguments = ToWide(arguments);
    const auto wideDescription = ToWide(description);
    const auto wideWorkingDir = ToWide(workingDir);
    const auto wideIcon = ToWide(iconFile);
    const auto wideLink = ToWide(linkFile);
    if (!wideTarget || !wideArguments || !wideDescription || !wideWorkingDir || !wideIcon || !wideLink ||
        wideLink->empty())
        return false;

    const ComScope com;
    if (!com.Usable()) return false;
    Released<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link.p))))
        return false;
    Released<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return false;

    if (FAILED(link.p->SetPath(wideTarget->c_str()))) return false;
    if (!wideArguments->empty()) link.p->SetArguments(wideArguments->c_str());
    if (!wideDescription->empty()) link.p->SetDescription(wideDescription->c_str());
    if (!wideWorkingDir->empty()) link.p->SetWorkingDirectory(wideWorkingDir->c_str());
    if (!wideIcon->empty() && iconIndex > 0) link.p->SetIconLocation(wideIcon->c_str(), iconIndex);
    // Replaces a shortcut of that name.
    return SUCCEEDED(file.p->Save(wideLink->c_str(), FALSE));
}

std::string ReadLinkTarget(const std::string& linkFile) {
    const auto wideLink = ToWide(linkFile);
    if (!wideLink || wideLink->empty()) return {};
    const ComScope com;
    if (!com.Usable()) return {};
    Released<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link.p))))
        return {};
    Released<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return {};
    if (FAILED(file.p->Load(wideLink->c_str(), STGM_READ))) return {};
    wchar_t path[MAX_PATH + 1] = {};
    // The stored path as it is, not searched for or resolved.
    if (FAILED(link.p->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) return {};
    return FromWide(path);
}

std::string GetSpecialFolder(int csidl) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &list)) || list == nullptr) return {};
    wchar_t path[MAX_PATH] = {}; // the size the call requires
    const bool ok = ::SHGetPathFromIDListW(list, path) != FALSE;
    ::CoTaskMemFree(list);
    if (!ok) return {};
    return FromWide(path); // the text before the first NUL
}

std::string SendToShortcutPath() {
    const std::string folder = GetSpecialFolder(CSIDL_SENDTO);
    // Without the folder the shortcut would land in the root of the current drive.
    if (folder.empty()) return {};
    return folder + kSendToLinkName;
}

} // namespace win32

bool CreateSendToShortcut(const std::string& programFolder) {
    const std::string link = win32::SendToShortcutPath();
    if (link.empty()) return false;
    std::string folder = programFolder;
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return win32::CreateLink(folder + win32::kSendToTarget, link, "", "", "", "", 0);
}

void RemoveSendToShortcut() {
    const std::string link = win32::SendToShortcutPath();
    if (!link.empty()) (void)RemoveFile(link);
}

bool OpenDocument(const std::string& fileOrUrl) {
    const auto wide = win32::ToWide(fileOrUrl);
    if (!wide || wide->empty()) return false;
    // The shell may hand the work to a COM server: it asks for COM on the calling thread.
    const win32::ComScope com;
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", wide->c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32; // values up to 32 are errors
}

} // namespace vaultwing::platform
