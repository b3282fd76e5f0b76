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
    const auto ansiTarget = ToAnsi(target);
    const auto ansiArguments = ToAnsi(arguments);
    const auto ansiDescription = ToAnsi(description);
    const auto ansiWorkingDir = ToAnsi(workingDir);
    const auto ansiIcon = ToAnsi(iconFile);
    const auto wideLink = ToWide(linkFile);
    if (!ansiTarget || !ansiArguments || !ansiDescription || !ansiWorkingDir || !ansiIcon || !wideLink ||
        wideLink->empty())
        return false;

    const ComScope com;
    if (!com.Usable()) return false;
    Released<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link.p))))
        return false;
    Released<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return false;

    if (FAILED(link.p->SetPath(ansiTarget->c_str()))) return false;
    if (!ansiArguments->empty()) link.p->SetArguments(ansiArguments->c_str());
    if (!ansiDescription->empty()) link.p->SetDescription(ansiDescription->c_str());
    if (!ansiWorkingDir->empty()) link.p->SetWorkingDirectory(ansiWorkingDir->c_str());
    if (!ansiIcon->empty() && iconIndex > 0) link.p->SetIconLocation(ansiIcon->c_str(), iconIndex);
    // Replaces a shortcut of that name.
    return SUCCEEDED(file.p->Save(wideLink->c_str(), FALSE));
}

std::string ReadLinkTarget(const std::string& linkFile) {
    const auto wideLink = ToWide(linkFile);
    if (!wideLink || wideLink->empty()) return {};
    const ComScope com;
    if (!com.Usable()) return {};
    Released<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link.p))))
        return {};
    Released<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return {};
    if (FAILED(file.p->Load(wideLink->c_str(), STGM_READ))) return {};
    char path[MAX_PATH + 1] = {};
    // The stored path as it is, not searched for or resolved.
    if (FAILED(link.p->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) return {};
    return FromAnsi(path);
}

std::string GetSpecialFolder(int csidl) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &list)) || list == nullptr) return {};
    char path[512] = {};
    const bool ok = ::SHGetPathFromIDListA(list, path) != FALSE;
    ::CoTaskMemFree(list);
    if (!ok) return {};
    return FromAnsi(path); // the text before the first NUL
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
    const auto ansi = win32::ToAnsi(fileOrUrl);
    if (!ansi || ansi->empty()) return false;
    // The shell may hand the work to a COM server: it asks for COM on the calling thread.
    const win32::ComScope com;
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", ansi->c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32; // values up to 32 are errors
}

} // namespace vaultwing::platform
