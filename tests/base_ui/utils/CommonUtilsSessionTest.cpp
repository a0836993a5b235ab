// The user name taken from the environment, the logged-on user kept in the
// settings file, and the questions about processes and sessions. The
// process tests run the session probe built beside this test
// (KO_SESSION_PROBE names it): a copy of it is the process looked for, and
// the probe itself asks from a child process.

#include "SettingsFileTest.h"

#include "base/Process.h"
#include "base/ProcessQuery.h"
#include "base_ui/utils/CommonUtils.h"

#include "LogCapture.h"
#include "TestDirectory.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
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

// A run of the session probe, alive until the object is destroyed.
class Probe
{
public:
    Probe(const QString& path, const QStringList& arguments) { m_process.start(path, arguments); }

    ~Probe()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(kTimeoutMs);
    }

    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    // The words of the probe's line; one empty word when it wrote none.
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

// The processes looked for are copies of the probe under a name that no
// other test or run uses, so that parallel runs never find each other's.
class ProcessSearchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(ProbePath(), CopyPath()));
        m_running = std::make_unique<Probe>(CopyPath(), QStringList());
        ASSERT_EQ(m_running->Answer(), QStringList{"ready"});
    }

    static QString ProbePath()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/" KO_SESSION_PROBE);
    }

    QString CopyPath() const { return m_dir.FilePath(m_program); }

    // The program name of the running copy.
    const QString m_program = QStringLiteral("ko-probe-%1").arg(KO::Process::CurrentId());
    const TestDirectory m_dir;
    std::unique_ptr<Probe> m_running;
};

TEST_F(ProcessSearchTest, ChildFindsAProcessOfTheProgramInItsSession)
{
    Probe asking(ProbePath(), {m_program});
    const QStringList answer = asking.Answer();
    ASSERT_EQ(answer.size(), 2) << answer.join(' ').toStdString();
    EXPECT_EQ(answer.at(0).toUInt(), m_running->Id());
    EXPECT_EQ(answer.at(1), "1") << "SessionIdSame";
}

TEST_F(ProcessSearchTest, ProcessesStartedByTheCallerAreNotFound)
{
    const LogCapture capture;
    const std::wstring executable = KO::ProcessQuery::ExecutableFileName(m_program.toStdWString());

    EXPECT_EQ(CommonUtils::findProcessId(executable, 0), m_running->Id());
    EXPECT_EQ(CommonUtils::findProcessId(
                  KO::ProcessQuery::ExecutableFileName(m_program.toUpper().toStdWString()), 0),
              m_running->Id());
    EXPECT_EQ(CommonUtils::findProcessId(executable, KO::Process::CurrentId()), 0u);

    EXPECT_EQ(CommonUtils::SessionIdSame(m_program), CurrentSession() == 0);
    EXPECT_TRUE(capture.Contains("; old Pid: 0; old session id: 0\r\n"));
}

TEST(SessionTest, ShowInfoIsLoggedAndAnswersZero)
{
    const LogCapture capture;
    EXPECT_EQ(CommonUtils::getShowInfo(3, "tray", "ignored", "alice"), 0);
    EXPECT_TRUE(capture.HasLine("TRACE", "begin get show Info.opt:3 proName:tray userName:alice"));
    EXPECT_FALSE(capture.Contains("ignored"));
}

} // namespace
