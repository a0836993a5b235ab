#include "StoreOpener.h"

#include "ReportError.h"
#include "ReportTime.h"
#include "SqliteStore.h"
#include "UnavailableStore.h"

#include "base/Logging.h"

#include <cstdio>

namespace {

// "20261210T083000Z" of now.
std::string Stamp()
{
    std::string stamp = ReportTime::FormatUtc(ReportTime::Now());
    std::string compact;
    for (const char c : stamp.substr(0, 19)) {
        if (c != '-' && c != ':') {
            compact += c;
        }
    }
    return compact + "Z";
}

// Moves the damaged file and its WAL files aside; false when it cannot.
bool MoveAside(const std::string& path, const std::string& aside)
{
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        return false;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        std::rename((path + suffix).c_str(), (aside + suffix).c_str());
    }
    return true;
}

std::shared_ptr<ReportStore> OpenReadOnly(const std::string& path, const std::string& reason)
{
    LOG_ERROR << "the journal cannot be written, reading only: " << reason;
    try {
        return std::make_unique<SqliteStore>(path, SqliteStore::Mode::ReadOnly);
    } catch (const ReportError& error) {
        LOG_ERROR << "the journal cannot be read: " << error.what();
        return std::make_unique<UnavailableStore>(reason);
    }
}

} // namespace

// static
std::shared_ptr<ReportStore> StoreOpener::Open(const std::string& path)
{
    try {
        return std::make_unique<SqliteStore>(path, SqliteStore::Mode::ReadWrite);
    } catch (const ReportError& error) {
        if (error.kind() != ReportError::Kind::Broken) {
            return OpenReadOnly(path, error.what());
        }
        const std::string aside = path + ".broken-" + Stamp();
        if (!MoveAside(path, aside)) {
            LOG_ERROR << error.what() << "; it cannot be moved aside";
            return std::make_unique<UnavailableStore>(error.what());
        }
        LOG_ERROR << error.what() << "; moved aside to " << aside << ", a new journal starts";
    }
    try {
        return std::make_unique<SqliteStore>(path, SqliteStore::Mode::ReadWrite);
    } catch (const ReportError& error) {
        return OpenReadOnly(path, error.what());
    }
}
