// A child process for the session tests. Without arguments it prints
// "ready"; with a program name it looks for a process of that program not
// started by itself and prints "<process id> <1 when in this session, else
// 0>". Either way on one line, after which it stays alive until its standard
// input ends, so that tests can look for it in turn.

#include "base_ui/utils/CommonUtils.h"

#include "base/Process.h"
#include "base/ProcessQuery.h"

#include <QString>

#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    if (argc > 2) {
        return 2;
    }
    if (argc == 1) {
        std::cout << "ready" << std::endl;
    } else {
        const QString program = QString::fromLocal8Bit(argv[1]);
        const std::uint32_t found = CommonUtils::findProcessId(
            KO::ProcessQuery::ExecutableFileName(program.toStdWString()), KO::Process::CurrentId());
        std::cout << found << ' ' << (CommonUtils::SessionIdSame(program) ? 1 : 0) << std::endl;
    }
    std::string rest;
    while (std::getline(std::cin, rest)) {
    }
    return 0;
}
