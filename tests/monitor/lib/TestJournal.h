#pragma once

#include "monitor/lib/CLogModuleLib.h"

#include "base/Library.h"

#include "KoLogModule.h"
#include "RecordBuilder.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// A journal of the test's own for the log module beside this program:
// KO_REPORT_JOURNAL names a fresh file in a temporary directory, and, unless
// it starts empty, kPerCategory records of each category are appended
// through the module's own append entry, a second apart. The object keeps the module loaded
// while it lives (the Windows build keeps its journal in the module's
// memory).
class TestJournal
{
public:
    static constexpr std::size_t kPerCategory = 3;

    // Points KO_REPORT_JOURNAL at `path` while it lives, then back at the
    // test journal it replaced.
    class Variable
    {
    public:
        explicit Variable(const std::filesystem::path& path)
            : m_previous(std::getenv("KO_REPORT_JOURNAL") != nullptr
                             ? std::getenv("KO_REPORT_JOURNAL")
                             : "")
        {
            SetVariable(path);
        }
        ~Variable() { SetVariable(m_previous); }

        Variable(const Variable&) = delete;
        Variable& operator=(const Variable&) = delete;

    private:
        std::string m_previous;
    };

    // Whether the journal starts with kPerCategory recent records of each
    // category or empty.
    enum class Start
    {
        Seeded,
        Empty,
    };

    explicit TestJournal(Start start = Start::Seeded) : m_library(CLogModuleLib::kModulePath)
    {
        SetVariable(m_directory.Path() / "journal.db");
        if (!m_library.Load()) {
            ADD_FAILURE() << "the module does not load: " << m_library.GetErrMsg();
            return;
        }
        const auto create = reinterpret_cast<Create>(m_library.Resolve("CreateDllObject"));
        m_destroy = reinterpret_cast<Destroy>(m_library.Resolve("DestroyDllObject"));
        const KoInterfaceId id = KO_LOG_MODULE_INTERFACE_ID;
        if (create == nullptr || m_destroy == nullptr || create(&id, &m_module) != 0) {
            ADD_FAILURE() << "the module gives no object";
            return;
        }
        if (start == Start::Seeded) {
            Seed();
        }
    }

    ~TestJournal()
    {
        if (m_module != nullptr) {
            m_destroy(m_module);
        }
    }

    TestJournal(const TestJournal&) = delete;
    TestJournal& operator=(const TestJournal&) = delete;

    // The time of the `index`th seeded record of each category, oldest
    // first (milliseconds since 1970 UTC).
    std::int64_t SeedTime(std::size_t index) const
    {
        return m_seeded - static_cast<std::int64_t>((kPerCategory - index) * 1000);
    }

    // Appends a record of `category` at `time` whose fields read
    // "<tag> <field index>"; false, with a test failure, when the module
    // refuses it.
    bool Append(std::int32_t category, std::int64_t time, const std::u16string& tag) const
    {
        if (m_module == nullptr) {
            return false;
        }
        const auto append =
            reinterpret_cast<KoReportAppendFunction>(m_module->table[KO_REPORT_ENTRY_APPEND]);
        const RecordBuilder record(category, time, RecordBuilder::Fields(category, tag));
        const bool appended = append(m_module, record.get()) == KO_REPORT_OK;
        EXPECT_TRUE(appended) << category << ": " << LastError();
        return appended;
    }

    // Appends a record of `category` at `time` with `fields`; false, with a
    // test failure, when the module refuses it.
    bool Append(std::int32_t category, std::int64_t time,
                const std::vector<std::u16string>& fields) const
    {
        if (m_module == nullptr) {
            return false;
        }
        const auto append =
            reinterpret_cast<KoReportAppendFunction>(m_module->table[KO_REPORT_ENTRY_APPEND]);
        const RecordBuilder record(category, time, fields);
        const bool appended = append(m_module, record.get()) == KO_REPORT_OK;
        EXPECT_TRUE(appended) << category << ": " << LastError();
        return appended;
    }

    // Appends `count` records of `category` in one batch, a millisecond
    // apart and all older than `newest`, whose fields read "<tag> <field
    // index>"; false, with a test failure, when the module refuses them.
    bool AppendMany(std::int32_t category, std::int64_t newest, std::size_t count,
                    const std::u16string& tag) const
    {
        if (m_module == nullptr) {
            return false;
        }
        std::vector<std::unique_ptr<RecordBuilder>> builders;
        std::vector<const KoReportRecord*> records;
        for (std::size_t i = 0; i < count; ++i) {
            builders.push_back(std::make_unique<RecordBuilder>(
                category, newest - static_cast<std::int64_t>(count - i),
                RecordBuilder::Fields(category, tag)));
            records.push_back(builders.back()->get());
        }
        const auto batch = reinterpret_cast<KoReportAppendBatchFunction>(
            m_module->table[KO_REPORT_ENTRY_APPEND_BATCH]);
        const bool appended =
            batch(m_module, records.data(), static_cast<std::uint32_t>(count)) == KO_REPORT_OK;
        EXPECT_TRUE(appended) << category << ": " << LastError();
        return appended;
    }

    // Deletes the records of `category` through the module's clear entry.
    bool Clear(std::int32_t category) const
    {
        return m_module != nullptr &&
               reinterpret_cast<KoReportClearFunction>(m_module->table[KO_REPORT_ENTRY_CLEAR])(
                   m_module, category) == KO_REPORT_OK;
    }

private:
    using Create = std::int32_t (*)(const KoInterfaceId*, KoLogModule**);
    using Destroy = std::int32_t (*)(KoLogModule*);

    static void SetVariable(const std::filesystem::path& path)
    {
#if defined(_WIN32)
        _putenv_s("KO_REPORT_JOURNAL", path.string().c_str());
#else
        setenv("KO_REPORT_JOURNAL", path.string().c_str(), 1);
#endif
    }

    void Seed()
    {
        const auto append =
            reinterpret_cast<KoReportAppendFunction>(m_module->table[KO_REPORT_ENTRY_APPEND]);
        for (const std::int32_t category :
             {KO_REPORT_PROGRAM_START, KO_REPORT_EXECUTE_SCAN, KO_REPORT_RANSOMWARE_FOUND,
              KO_REPORT_HEARTBEAT, KO_REPORT_UPDATE_PACKAGE}) {
            for (std::size_t i = 0; i < kPerCategory; ++i) {
                const RecordBuilder record(category, SeedTime(i),
                                           RecordBuilder::Fields(category, u"test"));
                EXPECT_EQ(append(m_module, record.get()), KO_REPORT_OK)
                    << category << ": " << LastError();
            }
        }
    }

    // The message of the module's last failure, in ASCII.
    std::string LastError() const
    {
        const auto lastError = reinterpret_cast<KoReportLastErrorFunction>(
            m_module->table[KO_REPORT_ENTRY_LAST_ERROR]);
        KoReportChar text[256];
        lastError(m_module, text, 256);
        std::string ascii;
        for (const KoReportChar* unit = text; *unit != 0; ++unit) {
            ascii += *unit < 0x80 ? static_cast<char>(*unit) : '?';
        }
        return ascii;
    }

    const std::int64_t m_seeded = std::chrono::duration_cast<std::chrono::milliseconds>(
                                      std::chrono::system_clock::now().time_since_epoch())
                                      .count();
    TemporaryDirectory m_directory;
    KO::Library m_library;
    KoLogModule* m_module = nullptr;
    Destroy m_destroy = nullptr;
};
