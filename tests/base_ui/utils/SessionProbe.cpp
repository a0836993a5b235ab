// A child process for the session tests. With a program name as its one
// argument it looks for another process of that program, not started by
// itself, and prints "<process id> <1 when in this session, else 0>" on one
// line. It then stays alive until its standard input ends, so that the test
// can look for it in turn.

#include "base_ui/utils/CommonUtils.h"

#include "base/Process.h"
#include "base/ProcessQuery.h"

#include <QString>

#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    const std::uint32_t found = CommonUtils::findProcessId(
        KO::ProcessQuery::ExecutableFileName(program.toStdWString()), KO::Process::CurrentId());
    const bool sameSession = CommonUtils::SessionIdSame(program);
    std::cout << found << ' ' << (sameSession ? 1 : 0) << std::endl;

    std::string rest;
    while (std::getline(std::cin, rest)) {
    }
    return 0;
}
