// A process for the process tests to find: it runs until its standard input
// ends, which happens at the latest when the test that started it ends.
#include <cstdio>

int main()
{
    while (std::getchar() != EOF) {
    }
    return 0;
}
