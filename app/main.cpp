// Process entry of orvik Messenger.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("orvik Messenger %s\n", ORVIK_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("Usage: orvik [-cw JID]\n");
      return 0;
    }
  }
  return 0;
}
