// The user name taken from the environment, the logged-on user kept in the
// settings file, and the questions about processes and sessions. The
// process tests run the session probe built beside this test
// (KO_SESSION_PROBE names it), which asks them from a child process.

#include "SettingsFileTest.h"

#include "base/Process.h"
#include "base/ProcessQuery.h"
#include "base_ui/utils/CommonUtils.h"

#include "LogCapture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<const char*, const char*>>;

// Sets the given environment entries after clearing every entry whose name
// begins, in any case, with USER, HOSTNAME or DOMAINNAME; puts the
// environment back as it was when destroyed.
class UserEnvironment
{
public:
    explicit UserEnvironment(const Entries& entries)
    {
        for (const QString& name : QProcessEnvironment::systemEnvironment().keys()) {
            if (MayNameTheUser(name)) {
                const QByteArray key = name.toLocal8Bit();
                m_saved.emplace_back(key, qgetenv(key.constData()));
                qunsetenv(key.constData());
            }
        }
        for (const auto& [name, value] : entries) {
            m_set.emplace_back(name);
            qputenv(name, value);
        }
    }

    ~UserEnvironment()
    {
        for (const QByteArray& name : m_set) {
            qunsetenv(name.constData());
        }
        for (const auto& [name, value] : m_saved) {
            qputenv(name.constData(), value);
        }
    }

    UserEnvironment(const UserEnvironment&) = delete;
    UserEnvironment& operator=(const UserEnvironment&) = delete;

private:
    static bool MayNameTheUser(const QString& name)
    {
        return name.startsWith(QLatin1String("USER"), Qt::CaseInsensitive) ||
               name.startsWith(QLatin1String("HOSTNAME"), Qt::CaseInsensitive) ||
               name.startsWith(QLatin1String("DOMAINNAME"), Qt::CaseInsensitive);
    }

    std::vector<std::pair<QByteArray, QByteArray>> m_saved;
    std::vector<QByteArray> m_set;
};

struct UserCase
{
    const char* label;
    Entries environment;
    const char* user;
    bool root;
};

void PrintTo(const UserCase& userCase, std::ostream* out)
{
    *out << userCase.label;
}

class UserNameTest : public testing::TestWithParam<UserCase>
{};

TEST_P(UserNameTest, FirstPatternWithAPlainValueGivesTheUser)
{
    const UserEnvironment environment(GetParam().environment);
    EXPECT_EQ(CommonUtils::getUserName().toStdString(), GetParam().user);
    EXPECT_EQ(CommonUtils::isRootUser(), GetParam().root);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, UserNameTest,
    testing::Values(
        UserCase{"UserNameBeforeUser", {{"USER", "bob"}, {"USERNAME", "alice"}}, "alice", false},
        // Entries are taken in the order of their names: USER, USERDOMAIN.
        UserCase{
            "FirstEntryBeginningWithUser", {{"USERDOMAIN", "corp"}, {"USER", "bob"}}, "bob", false},
        UserCase{"UserDomain", {{"USERDOMAIN", "corp"}}, "corp", false},
        UserCase{"HostName",
                 {{"DOMAINNAME", "example.org"}, {"HOSTNAME", "build-host"}},
                 "build-host",
                 false},
        UserCase{"DomainName", {{"DOMAINNAME", "example.org"}}, "example.org", false},
        UserCase{"NoEntry", {}, "unknown", false},
        UserCase{"ValueWithEqualsSignIsSkipped",
                 {{"USERNAME", "a=b"}, {"HOSTNAME", "build-host"}},
                 "build-host",
                 false},
        UserCase{"ValueWithEqualsSignGivesWayToUser",
                 {{"USERNAME", "a=b"}, {"USER", "bob"}},
                 "bob",
                 false},
        UserCase{
            "NamesAreCaseSensitive", {{"username", "carol"}, {"hostname", "h"}}, "unknown", false},
        UserCase{"PatternMatchesTheWholeEntry", {{"MY_USERNAME", "dave"}}, "unknown", false},
        UserCase{"NonAsciiValue",
                 {{"USERNAME", "\xE5\xBC\xA0\xE4\xB8\x89"}},
                 "\xE5\xBC\xA0\xE4\xB8\x89",
                 false},
        UserCase{"Root", {{"USER", "root"}}, "root", true},
        UserCase{"RootOnlyExactly", {{"USER", "rooted"}}, "rooted", false}),
    [](const testing::TestParamInfo<UserCase>& info) { return info.param.label; });

class LogonUserTest : public SettingsFileTest
{};

TEST_F(LogonUserTest, StoredUserIsComparedWithTheCurrentOne)
{
    {
        const UserEnvironment alice(Entries{{"USERNAME", "alice"}});
        EXPECT_FALSE(CommonUtils::isLogonUserSame("ui")) << "nothing stored yet";
        CommonUtils::setLogonUser("ui");
        EXPECT_EQ(Stored("LogonUser/ui").toString(), "alice");
        EXPECT_TRUE(CommonUtils::isLogonUserSame("ui"));
        EXPECT_FALSE(CommonUtils::isLogonUserSame("tray"));
    }
    const UserEnvironment other(Entries{{"USERNAME", "\xE5\xBC\xA0\xE4\xB8\x89"}});
    EXPECT_FALSE(CommonUtils::isLogonUserSame("ui"));
    CommonUtils::setLogonUser("ui");
    EXPECT_TRUE(CommonUtils::isLogonUserSame("ui"));
    EXPECT_EQ(Stored("LogonUser/ui").toString(), QString::fromUtf8("\xE5\xBC\xA0\xE4\xB8\x89"));
}

TEST_F(LogonUserTest, UnwritableSettingsFileNeverMatches)
{
    ASSERT_TRUE(QDir().mkpath(Path()));
    const UserEnvironment alice(Entries{{"USERNAME", "alice"}});
    CommonUtils::setLogonUser("ui");
    EXPECT_FALSE(CommonUtils::isLogonUserSame("ui"));
}

std::uint32_t CurrentSession()
{
    return KO::ProcessQuery::SessionIdOf(KO::Process::CurrentId()).value_or(0);
}

TEST(SessionTest, WithoutAProcessOfTheNameTheSessionIsComparedWithZero)
{
    const LogCapture capture;
    const QString name = QStringLiteral("ko-no-such-program-%1").arg(KO::Process::CurrentId());

    EXPECT_EQ(CommonUtils::SessionIdSame(name), CurrentSession() == 0);
    EXPECT_TRUE(
        capture.HasLine("DEBUG", "Current Pid: " + std::to_string(KO::Process::CurrentId()) +
                                     "; Current session id: " + std::to_string(CurrentSession()) +
                                     "; old Pid: 0; old session id: 0"))
        << capture.Text();
    EXPECT_EQ(CommonUtils::findProcessId(name.toStdWString(), 0), 0u);
}

// The session probe, running until it is destroyed.
class Probe
{
public:
    explicit Probe(const QString& program)
    {
        m_process.start(QCoreApplication::applicationDirPath() +
                            QStringLiteral("/" KO_SESSION_PROBE),
                        {program});
    }

    ~Probe()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(kTimeoutMs);
    }

    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    // The probe's answer: the words of its line, empty when none came.
    QStringList Answer()
    {
        while (!m_process.canReadLine() && m_process.waitForReadyRead(kTimeoutMs)) {
        }
        return QString::fromLatin1(m_process.readLine()).simplified().split(QLatin1Char(' '));
    }

    std::uint32_t Id() const { return static_cast<std::uint32_t>(m_process.processId()); }

private:
    static constexpr int kTimeoutMs = 30000;
    QProcess m_process;
};

// The file name of a process's executable; empty when there is no such process.
std::wstring ExecutableOf(std::uint32_t processId)
{
    for (const auto& entry : KO::ProcessQuery::Snapshot()) {
        if (entry.processId == processId) {
            return entry.executable;
        }
    }
    return {};
}

TEST(SessionTest, ChildFindsThisProgramInItsSession)
{
    const QFileInfo self(QCoreApplication::applicationFilePath());
    Probe probe(self.completeBaseName());
    const QStringList answer = probe.Answer();
    ASSERT_EQ(answer.size(), 2) << answer.join(' ').toStdString();

    // Runs of this program may overlap: any of them, all in this session,
    // is a right answer.
    const std::uint32_t found = answer.at(0).toUInt();
    ASSERT_NE(found, 0u);
    EXPECT_EQ(ExecutableOf(found), self.fileName().toStdWString());
    EXPECT_EQ(answer.at(1), "1") << "SessionIdSame";
}

TEST(SessionTest, ProcessesStartedByTheCallerAreNotFound)
{
    Probe probe(QStringLiteral("ko-no-such-program"));
    ASSERT_EQ(probe.Answer().size(), 2); // the probe runs
    const std::wstring executable = QStringLiteral(KO_SESSION_PROBE).toStdWString();

    EXPECT_EQ(CommonUtils::findProcessId(executable, 0), probe.Id());
    EXPECT_NE(CommonUtils::findProcessId(executable, KO::Process::CurrentId()), probe.Id());
}

TEST(SessionTest, ShowInfoIsLoggedAndAnswersZero)
{
    const LogCapture capture;
    EXPECT_EQ(CommonUtils::getShowInfo(3, "tray", "ignored", "alice"), 0);
    EXPECT_TRUE(capture.HasLine("TRACE", "begin get show Info.opt:3 proName:tray userName:alice"));
    EXPECT_FALSE(capture.Contains("ignored"));
}

} // namespace
