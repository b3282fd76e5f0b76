// vaultwing: encrypt and decrypt files and folders from a terminal, on the same core as VWX.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/LanguageChoice.h"
#include "app/SettingsActions.h"
#include "base/Secret.h"
#include "base/Utf8.h"
#include "cli/TerminalUi.h"
#include "config/LangIndices.h"
#include "config/LanguageFile.h"
#include "password/KeyInput.h"
#include "password/KeyRules.h"
#include "platform/Folders.h"
#include "platform/ProgramArguments.h"
#include "platform/platform.h"

namespace vaultwing::cli {
namespace {

enum ExitCode { kExitOk = 0, kExitRunFailed = 1, kExitUsage = 2, kExitRefused = 3 };

constexpr const char* kUsage =
    "usage: vaultwing [--password-file FILE] [--delete | --keep] [--lang NAME] [-q] PATH...\n"
    "       vaultwing [--associate on|off] [--send-to on|off]\n"
    "\n"
    "Encrypts every file given (or found below a folder given) to <name>.vwx beside it, and\n"
    "decrypts every .vwx file back to <name>. Decryption runs first, then encryption.\n"
    "\n"
    "  --password-file FILE  read the password from the first line of FILE (- = standard input);\n"
    "                        otherwise it is asked on the terminal, twice for encryption\n"
    "  --delete, --keep      destroy or keep the source files this time (default: the setting)\n"
    "  --lang NAME           take the messages from NAME.lng (default: the setting, else English)\n"
    "  -q                    no progress bar\n"
    "  --associate on|off    open .vwx files with VWX, the desktop program beside this one\n"
    "  --send-to on|off      the file manager's Send To entry for VWX (both as in VWX's settings)\n"
    "  --help, --version\n"
    "\n"
    "Exit status: 0 done, 1 a file failed, 2 usage error or refused password, 3 a path was refused.\n";

struct Options {
    std::optional<std::string> passwordFile;
    std::optional<bool> destroySources;
    std::string language;
    bool quiet = false;
    std::optional<bool> associate; // the settings window's two desktop-integration boxes
    std::optional<bool> sendTo;
    std::vector<std::string> paths;
};

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "vaultwing: %s\n\n%s", EscapeControlCharacters(problem).c_str(), kUsage);
    return kExitUsage;
}

// Parses the arguments; returns an exit code when the program should end right away.
std::optional<int> ParseArguments(const std::vector<std::string>& args, Options& options) {
    bool onlyPaths = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) return UsageError("an empty argument names no file or folder");
        if (onlyPaths || arg[0] != '-' || arg == "-") {
            options.paths.push_back(arg);
        } else if (arg == "--") {
            onlyPaths = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        } else if (arg == "--version") {
            std::printf("vaultwing %s\n", VAULTWING_VERSION);
            return kExitOk;
        } else if (arg == "--password-file" || arg == "--lang") {
            if (i + 1 >= args.size()) return UsageError(arg + " needs a value");
            (arg == "--lang" ? options.language : options.passwordFile.emplace()) = args[++i];
        } else if (arg == "--associate" || arg == "--send-to") {
            if (i + 1 >= args.size() || (args[i + 1] != "on" && args[i + 1] != "off"))
                return UsageError(arg + " needs on or off");
            (arg == "--associate" ? options.associate : options.sendTo) = args[++i] == "on";
        } else if (arg == "--delete" || arg == "--keep") {
            options.destroySources = arg == "--delete";
        } else if (arg == "-q" || arg == "--quiet") {
            options.quiet = true;
        } else {
            return UsageError("unknown option " + arg);
        }
    }
    if (options.paths.empty() && !options.associate && !options.sendTo) return UsageError("no file or folder given");
    return std::nullopt;
}

// A password file's line may be no longer: a device such as /dev/zero, or the wrong file, is
// refused instead of being read without end.
constexpr std::size_t kMaxPasswordBytes = 1024;

class Cli {
public:
    Cli(Options options, TerminalUi& ui) : options_(std::move(options)), app_(platform::ProgramFolders(), ui) {}

    int Run() {
        if (const auto problem = LoadSettingsAndLanguage()) return UsageError(*problem);
        AppState& state = app_.state;
        state.runMode = RunMode::CommandLine;
        ApplyDesktopIntegration();
        if (options_.paths.empty()) return kExitOk;
        app_.runs.sourceKept = [](const std::string& source, const std::string& why) {
            std::fprintf(stderr, "%s\n%s\n", EscapeControlCharacters(source).c_str(), TerminalLines(why).c_str());
        };

        // The password file holds the key: it is never encrypted (and destroyed) with it.
        if (options_.passwordFile && *options_.passwordFile != "-")
            for (const bool followLink : {false, true})
                if (const auto identity = platform::IdentifyFile(*options_.passwordFile, followLink))
                    app_.lists.neverList.push_back(*identity);
        const auto sorted =
            app_.startup.SortCommandLinePaths(AbsolutePaths(options_.paths, platform::CurrentDirectory()));
        for (const std::string& file : app_.lists.leftOut)
            std::fprintf(stderr, "vaultwing: %s: the password file is left out\n",
                         EscapeControlCharacters(file).c_str());
        if (sorted.refused || sorted.walkRefused) return kExitRefused;

        int exit = kExitOk;
        if (!app_.lists.toDecrypt.empty()) exit = Decrypt();
        if (exit == kExitOk && !app_.lists.toEncrypt.empty()) exit = Encrypt();
        filePassword_.clear();
        // A folder that could not be listed was named before the run; the job is not complete.
        if (exit == kExitOk && app_.lists.walkIncomplete) exit = kExitRunFailed;
        return exit;
    }

private:
    std::optional<std::string> LoadSettingsAndLanguage() {
        AppState& state = app_.state;
        state.deleteSourcesThisTime = options_.destroySources;

        std::string name = options_.language;
        if (name.empty()) name = state.settings.Text(Setting::Language);
        if (name.empty() || !platform::FileAttributes(LanguageFilePath(state, name))) {
            if (!options_.language.empty())
                return "no language file " + name + ".lng in " + state.folders.languages.back();
            name = "English";
        }
        const std::string path = LanguageFilePath(state, name);
        (void)LoadLanguage(path, state.texts); // where no file can be loaded, the built-in English texts
        if (!options_.language.empty() && !state.texts.HasValidHeader())
            return path + " is not a language file (empty, unreadable or without the line \"000 " + LangTable::kHeader +
                   "\")";
        return std::nullopt;
    }

    // What the settings window's boxes do (the Windows installer and uninstaller call this), for
    // VWX beside this program rather than for this program itself.
    void ApplyDesktopIntegration() {
        if (!options_.associate && !options_.sendTo) return;
        SettingsActions actions = app_.MakeSettingsActions({}); // windowless: nothing to redraw
        actions.executable =
            platform::ExecutableFolder() + platform::kPathSeparator + (platform::kWindows ? "VWX.exe" : "VWX");
        if (options_.associate) actions.BoxChanged(SettingsBox::Register, *options_.associate);
        if (options_.sendTo) actions.BoxChanged(SettingsBox::SendTo, *options_.sendTo);
    }

    // The password for a run, from the file (read once, kept for both runs) or the terminal.
    std::optional<Secret> Password(int promptIndex) {
        if (options_.passwordFile) {
            if (!filePasswordRead_) {
                filePasswordRead_ = platform::ReadSecretLine(*options_.passwordFile, kMaxPasswordBytes, filePassword_);
            }
            if (filePasswordRead_ != platform::SecretLineRead::Read) return std::nullopt;
            return Secret(filePassword_.view());
        }
        return platform::ReadPasswordFromTerminal(TerminalLines(app_.state.Text(promptIndex)));
    }

    int PasswordUnavailable() const {
        const std::string file = options_.passwordFile ? EscapeControlCharacters(*options_.passwordFile) : "";
        if (!options_.passwordFile)
            std::fputs("vaultwing: no terminal to ask for the password: use --password-file\n", stderr);
        else if (filePasswordRead_ == platform::SecretLineRead::TooLong)
            std::fprintf(stderr, "vaultwing: the first line of %s is longer than %zu bytes: no password is that long\n",
                         file.c_str(), kMaxPasswordBytes);
        else
            std::fprintf(stderr, "vaultwing: cannot read the password from %s\n", file.c_str());
        return kExitUsage;
    }

    static int ExitFor(const PasswordOutcome& result) {
        if (result.handling != PasswordHandling::Ran) return kExitUsage;
        return result.run == RunResult::Completed ? kExitOk : kExitRunFailed;
    }

    // The desktop's password fields cannot take such a password; here it is refused whole rather
    // than reaching the key changed ('?' for each character the code page lacks).
    static int PasswordRefused(KeyUse use) {
        std::fprintf(stderr,
                     "vaultwing: the password cannot be used: it holds %sa control character, a character outside "
                     "Windows-1252 or bytes that are not UTF-8\n%s",
                     use == KeyUse::Encryption ? "a space, " : "",
                     use == KeyUse::Encryption ? ""
                                               : "(a file an earlier version encrypted with such a password opens "
                                                 "with \"?\" for each character outside Windows-1252)\n");
        return kExitUsage;
    }

    int Decrypt() {
        auto password = Password(lang::kCliPasswordPrompt);
        if (!password) return PasswordUnavailable();
        if (!IsKeyText(password->view(), KeyUse::Decryption)) return PasswordRefused(KeyUse::Decryption);
        return ExitFor(app_.passwords.DecryptOk(password->view()));
    }

    int Encrypt() {
        auto password = Password(lang::kCliPasswordPrompt);
        if (!password) return PasswordUnavailable();
        if (!IsKeyText(password->view(), KeyUse::Encryption)) return PasswordRefused(KeyUse::Encryption);
        if (options_.passwordFile) return ExitFor(app_.passwords.EncryptOk(password->view(), password->view()));
        // Only a password that can be accepted is worth asking again.
        std::optional<Secret> repetition;
        if (IsValidKey(password->view())) {
            repetition = Password(lang::kCliRepeatPrompt);
            if (!repetition) return PasswordUnavailable();
        }
        return ExitFor(app_.passwords.EncryptOk(password->view(), repetition ? repetition->view() : ""));
    }

    Options options_;
    Application app_;
    Secret filePassword_;
    std::optional<platform::SecretLineRead> filePasswordRead_;
};

} // namespace
} // namespace vaultwing::cli

int main(int argc, char** argv) {
    vaultwing::platform::DisableCoreDumps();
    using namespace vaultwing::cli;
    Options options;
    if (const auto exit = ParseArguments(vaultwing::platform::ProgramArguments(argc, argv), options)) return *exit;
    TerminalUi ui(options.quiet);
    const int exit = Cli(std::move(options), ui).Run();
    // A hang-up or SIGTERM ended the run (the current file is cleaned up): end as the signal would.
    if (const int signal = vaultwing::platform::StopSignal(); vaultwing::platform::SignalEndsProgram(signal))
        vaultwing::platform::EndBySignal(signal);
    return exit;
}
