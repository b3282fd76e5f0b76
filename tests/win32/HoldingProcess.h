#pragma once
// A second process (win32/holder) holding a file "exclusive", "read" or "readshared" until Stop.
#include <windows.h>

#include <string>

namespace vaultwing::test {

class WinHoldingProcess {
public:
    WinHoldingProcess(const std::string& path, const std::string& share) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        if (!::CreatePipe(&read, &write, &inherit, 0)) return;
        char self[MAX_PATH] = {};
        std::string exe(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
        exe.resize(exe.find_last_of('\\') + 1);
        std::string command = "\"" + exe + "vaultwing_win32_holder.exe\" \"" + path + "\" " + share;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        PROCESS_INFORMATION info{};
        const bool started =
            ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
        ::CloseHandle(write);
        char answer = 0;
        DWORD n = 0;
        if (started) {
            ::CloseHandle(info.hThread);
            process_ = info.hProcess;
            holding_ = ::ReadFile(read, &answer, 1, &n, nullptr) && answer == '1';
        }
        ::CloseHandle(read);
    }
    ~WinHoldingProcess() { Stop(); }

    [[nodiscard]] bool Holding() const { return holding_; }

    // Ends the holder and waits until it has gone, its handle with it.
    void Stop() {
        if (process_ == nullptr) return;
        ::TerminateProcess(process_, 0);
        ::WaitForSingleObject(process_, 10000);
        ::CloseHandle(process_);
        process_ = nullptr;
        holding_ = false;
    }

private:
    HANDLE process_ = nullptr;
    bool holding_ = false;
};

} // namespace vaultwing::test
