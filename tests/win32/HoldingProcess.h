#pragma once
// A second Windows process holding a file open (tests/win32/holder), until Stop or destruction.
#include <windows.h>

#include <string>

namespace vaultwing::test {

class WinHoldingProcess {
public:
    // `share`: "exclusive", "read" or "readshared" (see holder/main.cpp).
    WinHoldingProcess(const std::string& path, const std::string& share) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE childIn = nullptr;
        HANDLE childOut = nullptr;
        if (!::CreatePipe(&childIn, &toChild_, &inherit, 0)) return;
        if (!::CreatePipe(&fromChild_, &childOut, &inherit, 0)) {
            ::CloseHandle(childIn);
            return;
        }
        // Only the child's ends are inherited.
        ::SetHandleInformation(toChild_, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(fromChild_, HANDLE_FLAG_INHERIT, 0);

        std::string command = "\"" + HolderPath() + "\" \"" + path + "\" " + share;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childIn;
        startup.hStdOutput = childOut;
        startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION info{};
        const bool started = ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                              &startup, &info) != 0;
        ::CloseHandle(childIn);
        ::CloseHandle(childOut);
        if (!started) return;
        ::CloseHandle(info.hThread);
        process_ = info.hProcess;
        char answer = 0;
        DWORD n = 0;
        holding_ = ::ReadFile(fromChild_, &answer, 1, &n, nullptr) && n == 1 && answer == '1';
    }
    WinHoldingProcess(const WinHoldingProcess&) = delete;
    WinHoldingProcess& operator=(const WinHoldingProcess&) = delete;
    ~WinHoldingProcess() {
        Stop();
        if (fromChild_ != nullptr) ::CloseHandle(fromChild_);
    }

    [[nodiscard]] bool Holding() const { return holding_; }

    // Ends the holder (its standard input closes) and waits until it has gone.
    void Stop() {
        if (toChild_ != nullptr) {
            ::CloseHandle(toChild_);
            toChild_ = nullptr;
        }
        if (process_ != nullptr) {
            if (::WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process_, 1);
            ::CloseHandle(process_);
            process_ = nullptr;
        }
        holding_ = false;
    }

private:
    static std::string HolderPath() {
        char self[MAX_PATH] = {};
        const DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string folder(self, n);
        folder.resize(folder.find_last_of('\\') + 1);
        return folder + "vaultwing_win32_holder.exe";
    }

    HANDLE toChild_ = nullptr;
    HANDLE fromChild_ = nullptr;
    HANDLE process_ = nullptr;
    bool holding_ = false;
};

} // namespace vaultwing::test
