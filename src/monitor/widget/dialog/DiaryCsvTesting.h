#pragma once

#include <QString>

#include <optional>

// The seam of the diary's CSV export for tests; production code never
// includes this header, so the export always asks the user there.
namespace DiaryCsvTesting {

// From now on DiaryCsv::AskForPath answers `path` (empty: cancelled) without
// a file dialog; std::nullopt restores the file dialog.
void SetSavePath(std::optional<QString> path);

} // namespace DiaryCsvTesting
