// A second Windows process for the tests: opens a file with the access and sharing asked for,
// reports on standard output whether that worked ("1" or "0"), then holds the file until its
// standard input ends.
//   vaultwing_win32_holder <path> <exclusive | read | readshared>
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    DWORD share = 0; // exclusive: nobody else may open it
    if (std::strcmp(argv[2], "read") == 0)
        share = FILE_SHARE_READ; // others may only read
    else if (std::strcmp(argv[2], "readshared") == 0)
        share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    else if (std::strcmp(argv[2], "exclusive") != 0)
        return 2;
    const HANDLE file =
        ::CreateFileA(argv[1], GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const char answer = file != INVALID_HANDLE_VALUE ? '1' : '0';
    DWORD n = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), &answer, 1, &n, nullptr);
    char c = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), &c, 1, &n, nullptr) && n > 0) {
    }
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    return 0;
}
