#include "core/version.h"

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Usage: mosaiq-cli COMMAND [OPTIONS]\n"
    "Download whole photo albums in bulk.\n"
    "\n"
    "Options:\n"
    "  --help       show this help\n"
    "  --version    show the version\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("mosaiq-cli %s\n", mosaiq::kVersion);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
