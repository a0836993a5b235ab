// ko-report: the log module's journal from the command line (KoReportTool).

#include "KoReportTool.h"

#include <iostream>

int main(int argc, char* argv[])
{
    return KoReportTool(std::cout, std::cerr).Run(std::vector<std::string>(argv + 1, argv + argc));
}
