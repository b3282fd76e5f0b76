#include "platform/Folders.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "base/PathNames.h"
#include "platform/platform.h"

namespace vaultwing::platform {
namespace {

constexpr const char* kFolderName = "vaultwing";

// An XDG base folder: the variable when it holds an absolute path (a relative one is invalid by
// the base-directory rules), otherwise the default under the user's home.
std::string XdgBaseFolder(std::string variable, const std::string& userHome, const char* fallback) {
    while (variable.size() > 1 && variable.back() == '/')
        variable.pop_back();
    if (!variable.empty() && variable.front() == '/') return variable;
    return userHome + "/" + fallback;
}

// The program's own folder in an XDG base folder.
std::string XdgFolder(std::string variable, const std::string& userHome, const char* fallback) {
    return XdgBaseFolder(std::move(variable), userHome, fallback) + "/" + kFolderName;
}

bool HasLanguageFiles(const std::string& folder) {
    bool found = false;
    (void)EnumerateDirectory(folder, [&](const DirEntry& entry) {
        if (entry.kind == EntryKind::File && GetExtension(std::string(entry.name)) == "lng") found = true;
    });
    return found;
}

bool CanCreateFileIn(const std::string& folder) {
    std::string tempPath;
    try {
        File file = File::CreateTempBeside(folder + kPathSeparator + "VWX.ini", tempPath);
        file.Close();
    } catch (const std::system_error&) {
        return false;
    }
    RemoveFile(tempPath);
    return true;
}

bool CreatePrivateFolder(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return true;
    if (path.has_relative_path() && path.parent_path() != path && !CreatePrivateFolder(path.parent_path()))
        return false;
    if (!std::filesystem::create_directory(path, ec)) return std::filesystem::is_directory(path, ec);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ec);
    return !ec;
}

} // namespace

Folders FoldersIn(const std::string& folder) {
    return Folders{folder, folder, {folder}, folder, folder, false, false};
}

std::string SharedFolder(const std::string& executableFolder) {
    const auto slash = executableFolder.find_last_of('/');
    const std::string prefix = slash == std::string::npos ? std::string() : executableFolder.substr(0, slash);
    return prefix + "/share/" + kFolderName;
}

Folders DecideFolders(const FolderFacts& facts) {
    if (!facts.home.empty()) return FoldersIn(facts.home);
    const std::string& program = facts.executableFolder;
    if (facts.windows) {
        if (facts.executableFolderWritable || facts.appData.empty()) return FoldersIn(program);
        const std::string user = facts.appData + "\\Vaultwing";
        return Folders{program, user, {program}, user, program, true, false};
    }
    // Without a home folder there is nowhere else to go: the program folder, as for a portable copy.
    if (facts.languageFilesBeside || !facts.languageFilesShared || facts.userHome.empty()) return FoldersIn(program);
    const std::string shared = SharedFolder(program);
    return Folders{program,
                   XdgFolder(facts.xdgConfigHome, facts.userHome, ".config"),
                   {XdgFolder(facts.xdgDataHome, facts.userHome, ".local/share"), shared},
                   XdgFolder(facts.xdgCacheHome, facts.userHome, ".cache"),
                   shared,
                   true,
                   true};
}

FolderFacts GatherFolderFacts() {
    FolderFacts facts;
    facts.windows = kWindows;
    facts.home = EnvironmentVariable("VAULTWING_HOME");
    if (!facts.home.empty()) return facts;
    facts.executableFolder = ExecutableFolder();
    facts.languageFilesBeside = HasLanguageFiles(facts.executableFolder);
    if (facts.windows) {
        facts.executableFolderWritable = CanCreateFileIn(facts.executableFolder);
        facts.appData = EnvironmentVariable("APPDATA");
    } else if (!facts.languageFilesBeside) {
        facts.languageFilesShared = HasLanguageFiles(SharedFolder(facts.executableFolder));
        facts.userHome = UserHomeFolder();
        facts.xdgConfigHome = EnvironmentVariable("XDG_CONFIG_HOME");
        facts.xdgDataHome = EnvironmentVariable("XDG_DATA_HOME");
        facts.xdgCacheHome = EnvironmentVariable("XDG_CACHE_HOME");
    }
    return facts;
}

Folders ProgramFolders() {
    return DecideFolders(GatherFolderFacts());
}

std::string UserDataHome() {
    const std::string userHome = UserHomeFolder();
    std::string variable = EnvironmentVariable("XDG_DATA_HOME");
    if (userHome.empty() && (variable.empty() || variable.front() != '/')) return {};
    return XdgBaseFolder(std::move(variable), userHome, ".local/share");
}

bool CreatePrivateFolder(const std::string& folder) {
    // The program's paths are UTF-8; std::filesystem reads a plain string in the system's code page.
    return !folder.empty() && CreatePrivateFolder(std::filesystem::path(std::u8string(folder.begin(), folder.end())));
}

} // namespace vaultwing::platform
