#include <cstdio>

int main() {
    std::puts("tavi-sim");
    return 0;
}
