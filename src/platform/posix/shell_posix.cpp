// POSIX shell integration: the freedesktop.org equivalents of the Windows file-type association
// and Send To shortcut, and opening documents with xdg-open.
//
// Everything is written below $XDG_DATA_HOME (default ~/.local/share), so nothing needs
// administrator rights and removing the files undoes it completely:
//   mime/packages/vaultwing-<ext>.xml        shared-mime-info package: *.<ext> is our type
//   applications/vaultwing-<ext>.desktop     the handler of that type (hidden from menus)
//   nautilus/scripts/Vaultwing               GNOME Files: Scripts > Vaultwing
//   kio/servicemenus/vaultwing.desktop       KDE Dolphin: the context-menu action
#include "platform/platform.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "platform/DurableWrite.h"
#include "platform/Folders.h"

namespace vaultwing::platform {
namespace {

constexpr const char* kSendToName = "Vaultwing";
constexpr const char* kSendToProgram = "VWX"; // the Send To entry names the desktop program, whatever runs now

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Writes `content` to `path` (platform/DurableWrite.h), making its folder first. `executable`
// adds the execute bits matching the read bits the file has.
bool WriteDurably(const std::string& path, const std::string& content, bool executable) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec || !ReplaceFileContents(path, content)) return false;
    if (!executable) return true;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    const mode_t mode = st.st_mode & 0777;
    return ::chmod(path.c_str(), mode | S_IXUSR | ((mode & 0044) >> 2)) == 0;
}

// The full path of `program` found in PATH, or empty. Resolved before forking so that the
// child only has to call execv.
std::string FindInPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    for (;;) {
        const auto colon = rest.find(':');
        std::string folder(rest.substr(0, colon));
        if (folder.empty()) folder = ".";
        std::string candidate = folder + "/" + program;
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos) return {};
        rest.remove_prefix(colon + 1);
    }
}

// Everything the child needs, prepared in the parent: after fork only async-signal-safe calls.
struct PreparedCommand {
    std::string program;
    std::vector<std::string> args;
    std::vector<char*> argv;

    PreparedCommand(std::string resolved, std::vector<std::string> arguments)
        : program(std::move(resolved)), args(std::move(arguments)) {
        argv.push_back(program.data());
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
    }
};

// In the child: standard streams to /dev/null (the tools' chatter is of no use to anyone), then
// the program. Reports a failed exec through `errorPipe` when given.
[[noreturn]] void ExecQuietly(const PreparedCommand& cmd, int errorPipe) {
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        if (null > STDERR_FILENO) ::close(null);
    }
    ::execv(cmd.program.c_str(), cmd.argv.data());
    if (errorPipe >= 0) {
        const int error = errno;
        (void)!::write(errorPipe, &error, sizeof error);
    }
    ::_exit(127);
}

// Reaps `pid`; true when it exited with status 0.
bool WaitFor(pid_t pid) {
    int status = 0;
    for (;;) {
        const pid_t r = ::waitpid(pid, &status, 0);
        if (r == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (r < 0 && errno != EINTR) return false;
    }
}

// Runs `program` with `args` without a shell and waits for it; nothing happens when the
// program is not installed. Its result does not matter to the caller.
void RunQuietlyIfInstalled(const std::string& program, std::vector<std::string> args) {
    std::string resolved = FindInPath(program);
    if (resolved.empty()) return;
    const PreparedCommand cmd(std::move(resolved), std::move(args));
    const pid_t pid = ::fork();
    if (pid == 0) ExecQuietly(cmd, -1);
    if (pid > 0) (void)WaitFor(pid);
}

// Starts `program` detached (it is not our child and needs no reaping; a viewer may run for
// hours) and tells whether it could be started.
bool StartDetached(const std::string& program, std::vector<std::string> args) {
    std::string resolved = FindInPath(program);
    if (resolved.empty()) return false;
    const PreparedCommand cmd(std::move(resolved), std::move(args));
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::close(fds[0]);
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::setsid();
            ExecQuietly(cmd, fds[1]);
        }
        ::_exit(grandchild > 0 ? 0 : 1);
    }
    ::close(fds[1]);
    bool started = false;
    if (middle > 0) {
        started = WaitFor(middle); // fails when the second fork did
        // The write end closes on a successful exec (close-on-exec) with nothing written,
        // or carries errno from a failed one.
        int error = 0;
        ssize_t n = 0;
        do
            n = ::read(fds[0], &error, sizeof error);
        while (n < 0 && errno == EINTR);
        started = started && n == 0;
    }
    ::close(fds[0]);
    return started;
}

// Only names that are safe in file names and XML; the program passes "vwx".
bool IsPlainExtension(const std::string& extension) {
    if (extension.empty() || extension.size() > 32) return false;
    for (const char c : extension)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
            return false;
    return true;
}

std::string MimeTypeFor(const std::string& extension) {
    return extension == "vwx" ? "application/x-vaultwing" : "application/x-vaultwing-" + extension;
}

std::string MimePackagePath(const std::string& dataHome, const std::string& extension) {
    return dataHome + "/mime/packages/vaultwing-" + extension + ".xml";
}

std::string AssociationEntryPath(const std::string& dataHome, const std::string& extension) {
    return dataHome + "/applications/vaultwing-" + extension + ".desktop";
}

std::string NautilusScriptPath(const std::string& dataHome) {
    return dataHome + "/nautilus/scripts/" + kSendToName;
}

std::string KdeServiceMenuPath(const std::string& dataHome) {
    return dataHome + "/kio/servicemenus/vaultwing.desktop";
}

std::string XmlEscape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A value of type string in a desktop entry: backslash and control characters escaped.
std::string DesktopString(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// One argument of an Exec line, before the string escaping above: always in double quotes,
// with '"', '`', '$' and '\' escaped by a backslash and '%' doubled (it would start a field code).
std::string ExecArgument(std::string_view arg) {
    std::string out = "\"";
    for (const char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    out += '"';
    return out;
}

// The Exec line: the program quoted, then the field code for all selected files.
std::string DesktopExec(const std::string& program) {
    return DesktopString(ExecArgument(program) + " %F");
}

// A word for the POSIX shell: single quotes, a single quote written as '\''.
std::string ShellWord(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    out += '\'';
    return out;
}

// Desktop environments show a PNG or SVG; the Windows icon file is only a fallback.
std::string DesktopIcon(const std::string& iconPath) {
    constexpr std::string_view kIco = ".ico";
    if (iconPath.size() > kIco.size() && iconPath.compare(iconPath.size() - kIco.size(), kIco.size(), kIco) == 0) {
        const std::string base = iconPath.substr(0, iconPath.size() - kIco.size());
        for (const char* ext : {".png", ".svg"}) {
            struct stat st {};
            if (::stat((base + ext).c_str(), &st) == 0 && S_ISREG(st.st_mode)) return base + ext;
        }
    }
    return iconPath;
}

void RefreshDatabases(const std::string& dataHome) {
    std::error_code ec;
    // update-mime-database insists on the packages folder; without our package it clears our type.
    std::filesystem::create_directories(dataHome + "/mime/packages", ec);
    RunQuietlyIfInstalled("update-mime-database", {dataHome + "/mime"});
    std::filesystem::create_directories(dataHome + "/applications", ec);
    RunQuietlyIfInstalled("update-desktop-database", {dataHome + "/applications"});
}

} // namespace

void RegisterFileType(const std::string& extension, const std::string& appPath, const std::string& exeName,
                      const std::string& description, const std::string& iconPath) {
    const std::string dataHome = UserDataHome();
    if (dataHome.empty() || !IsPlainExtension(extension) || exeName.empty()) return;
    const std::string mimeType = MimeTypeFor(extension);

    const std::string package = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                "  <mime-type type=\"" +
                                mimeType + "\">\n    <comment>" + XmlEscape(description) +
                                "</comment>\n    <glob pattern=\"*." + extension +
                                "\"/>\n  </mime-type>\n</mime-info>\n";

    const std::string program = WithoutTrailingSlashes(appPath) + "/" + exeName;
    std::string entry = "[Desktop Entry]\nType=Application\nName=Vaultwing\n";
    if (!description.empty()) entry += "Comment=" + DesktopString(description) + "\n";
    entry += "Exec=" + DesktopExec(program) + "\n";
    entry += "MimeType=" + mimeType + ";\n";
    if (!iconPath.empty()) entry += "Icon=" + DesktopString(DesktopIcon(iconPath)) + "\n";
    entry += "NoDisplay=true\nTerminal=false\n";

    // Results are not reported, as with the registry writes this replaces.
    (void)WriteDurably(MimePackagePath(dataHome, extension), package, false);
    (void)WriteDurably(AssociationEntryPath(dataHome, extension), entry, false);
    RefreshDatabases(dataHome);
}

void UnregisterFileType(const std::string& extension) {
    const std::string dataHome = UserDataHome();
    if (dataHome.empty() || !IsPlainExtension(extension)) return;
    const bool removedPackage = RemoveFile(MimePackagePath(dataHome, extension));
    const bool removedEntry = RemoveFile(AssociationEntryPath(dataHome, extension));
    if (removedPackage || removedEntry) RefreshDatabases(dataHome);
}

bool CreateSendToShortcut(const std::string& programFolder) {
    const std::string dataHome = UserDataHome();
    if (dataHome.empty() || programFolder.empty()) return false;
    const std::string folder = WithoutTrailingSlashes(programFolder);
    const std::string program = folder + "/" + kSendToProgram;

    // Nautilus passes the selection as the script's arguments (in the folder shown). They go on
    // unchanged: its newline-separated variable cannot hold a name that contains a newline.
    const std::string script = "#!/bin/sh\n"
                               "# Vaultwing: encrypt or decrypt the selected files and folders.\n"
                               "exec " +
                               ShellWord(program) + " \"$@\"\n";

    const std::string icon = DesktopIcon(folder + "/VWX_icon.ico");
    std::string serviceMenu = "[Desktop Entry]\n"
                              "Type=Service\n"
                              "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
                              "MimeType=all/allfiles;inode/directory;\n"
                              "Actions=vaultwing;\n"
                              "\n"
                              "[Desktop Action vaultwing]\n"
                              "Name=Vaultwing\n";
    serviceMenu += "Icon=" + DesktopString(icon) + "\n";
    serviceMenu += "Exec=" + DesktopExec(program) + "\n";

    // Both are written every time: a second tick replaces the first, never adds to it.
    const bool scriptOk = WriteDurably(NautilusScriptPath(dataHome), script, true);
    const bool menuOk = WriteDurably(KdeServiceMenuPath(dataHome), serviceMenu, true); // KDE runs only executable menus
    return scriptOk && menuOk;
}

void RemoveSendToShortcut() {
    const std::string dataHome = UserDataHome();
    if (dataHome.empty()) return;
    RemoveFile(NautilusScriptPath(dataHome));
    RemoveFile(KdeServiceMenuPath(dataHome));
}

bool OpenDocument(const std::string& fileOrUrl) {
    if (fileOrUrl.empty()) return false;
    return StartDetached("xdg-open", {fileOrUrl});
}

} // namespace vaultwing::platform
