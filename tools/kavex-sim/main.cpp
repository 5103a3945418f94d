#include <cstdio>

int main()
{
    std::puts("kavex-sim");
    return 0;
}
