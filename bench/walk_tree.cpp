// Walks a folder the way a drop or a command-line folder is walked and prints the number of
// files found: `walk_tree DIR`. Timed as a whole process against `find DIR -type f`.
#include <cstdio>
#include <string>
#include <vector>

#include "files/FolderWalk.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: walk_tree DIR\n");
        return 2;
    }
    std::vector<std::string> files;
    const long found = vaultwing::ListFilesRecursive(argv[1], files);
    std::printf("%ld\n", found);
    return 0;
}
