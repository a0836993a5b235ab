#pragma once

#include <QString>

#include <functional>

// Seams for the tests of RecordDetail; production code never includes this
// header, so "导出" always asks through the file dialog there.
namespace RecordDetailTesting {

// From now on the export asks `answer` for the file instead of the file
// dialog (an empty path is a cancelled dialog); an empty function restores
// the dialog.
void SetSavePathAnswer(std::function<QString()> answer);

} // namespace RecordDetailTesting
