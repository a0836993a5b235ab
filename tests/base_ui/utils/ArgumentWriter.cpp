// A stand-in tool for the tool-start tests: writes each of its arguments on
// a line of its own into the file named by the first one. The text is
// written under a temporary name and then renamed, so a reader never sees a
// partial file.

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char* argv[])
{
    if (argc < 2) {
        return 2;
    }
    const std::string target = argv[1];
    const std::string partial = target + ".partial";
    {
        std::ofstream out(partial, std::ios::binary);
        for (int i = 1; i < argc; ++i) {
            out << argv[i] << '\n';
        }
        if (!out) {
            return 1;
        }
    }
    return std::rename(partial.c_str(), target.c_str()) == 0 ? 0 : 1;
}
