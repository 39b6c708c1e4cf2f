// wine_loader_probe: prints the pointer size it was built with. Run under
// Wine before the Windows suite: a loader that cannot start this tree's
// programs prints nothing (and may still exit 0).
#include <cstdio>

int main() {
    std::printf("pointer size %u\n", static_cast<unsigned>(sizeof(void*)));
    return 0;
}
