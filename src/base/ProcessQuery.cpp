#include "base/ProcessQuery.h"

#include "base/SystemException.h"

#include <algorithm>
#include <cwctype>

namespace KO {

namespace {

std::wstring Lowered(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

} // namespace

// static
std::uint32_t ProcessQuery::FindProcessId(const std::wstring& executable,
                                          std::uint32_t excludedParentId)
{
    std::vector<Entry> processes;
    try {
        processes = Snapshot();
    } catch (const SystemException&) {
        return 0;
    }
    const std::wstring wanted = Lowered(executable);
    const auto found = std::find_if(processes.begin(), processes.end(), [&](const Entry& process) {
        return process.parentProcessId != excludedParentId && Lowered(process.executable) == wanted;
    });
    return found == processes.end() ? 0 : found->processId;
}

} // namespace KO
