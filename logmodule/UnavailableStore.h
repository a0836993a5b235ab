#pragma once

#include "ReportStore.h"

#include <string>

// The store of a journal that could not be opened at all: it holds nothing,
// and every change throws ReportError (Storage) with the reason.
class UnavailableStore : public ReportStore
{
public:
    explicit UnavailableStore(std::string reason) : m_reason(std::move(reason)) {}

    void Append(std::vector<Report>&) override { Fail(); }
    void VisitNewestFirst(const Range&, const Visitor&) override {}
    void VisitAfter(std::int64_t, const Visitor&) override {}
    std::optional<Report> Find(std::int64_t) override { return std::nullopt; }
    std::int64_t LastId() override { return 0; }
    std::int64_t Clear(std::int32_t) override { Fail(); }
    std::int64_t Prune(std::int32_t, std::int64_t, std::int64_t, std::int64_t) override { Fail(); }
    Stats CategoryStats(std::int32_t) override { return {}; }
    std::int64_t Count(std::int32_t, std::int64_t, std::int64_t) override { return 0; }

private:
    [[noreturn]] void Fail() const;

    std::string m_reason;
};
