// vaultwing_win32_holder <path> <exclusive | read | readshared>: opens the file so shared, writes
// "1" (or "0") to standard output and holds it until ended.
#include <windows.h>

#include <string>

int main(int, char** argv) {
    const std::string mode = argv[2];
    const DWORD share = mode == "read"         ? FILE_SHARE_READ
                        : mode == "readshared" ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                                               : 0;
    const HANDLE file = ::CreateFileA(argv[1], GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD n = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), file != INVALID_HANDLE_VALUE ? "1" : "0", 1, &n, nullptr);
    ::Sleep(INFINITE);
}
