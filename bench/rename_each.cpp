// The reference for moving listed files into a folder on a share: one process that renames each
// file into the target folder by its path, the cheapest a user could expect a tool to do it.
//
//   bench_rename_each TARGET FILE...

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TARGET FILE...\n", argv[0]);
        return 2;
    }
    const std::string target = std::string(argv[1]) + "/";
    for (int i = 2; i < argc; ++i) {
        const char* slash = std::strrchr(argv[i], '/');
        const std::string to = target + (slash ? slash + 1 : argv[i]);
        if (std::rename(argv[i], to.c_str()) != 0) {
            std::perror(argv[i]);
            return 1;
        }
    }
    return 0;
}
