#include <cstdio>

int main()
{
    std::puts("kavexctl");
    return 0;
}
