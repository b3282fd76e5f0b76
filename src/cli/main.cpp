// vaultwing: encrypt and decrypt files and folders from a terminal.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("vaultwing %s\n", VAULTWING_VERSION);
        return 0;
    }
    std::fprintf(stderr, "usage: vaultwing [--password-file FILE] [--delete | --keep] [--lang NAME] [-q] PATH...\n");
    return argc > 1 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
}
