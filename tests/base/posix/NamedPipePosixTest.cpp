// Where the POSIX backend keeps its sockets, and how it guards that place.
#include "base/NamedPipe.h"
#include "base/SystemException.h"

#include "../PipeTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using KO::LOCALSOCKET::NamedPipe;
using KoTest::UniqueName;

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end()); // the test names are ASCII
}

std::optional<struct stat> StatOf(const std::string& path)
{
    struct stat status
    {};
    if (lstat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return status;
}

std::set<std::string> Entries(const std::string& directory)
{
    std::set<std::string> names;
    if (DIR* dir = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.insert(name);
            }
        }
        closedir(dir);
    }
    return names;
}

void RemoveTree(const std::string& path)
{
    const auto status = StatOf(path);
    if (status && S_ISDIR(status->st_mode)) {
        for (const std::string& name : Entries(path)) {
            RemoveTree(path + "/" + name);
        }
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

// An environment variable set for a test and restored afterwards.
class ScopedVariable
{
public:
    explicit ScopedVariable(const char* name) : m_name(name)
    {
        if (const char* previous = std::getenv(name)) {
            m_previous = previous;
        }
    }

    ~ScopedVariable()
    {
        if (m_previous) {
            setenv(m_name, m_previous->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

    // Sets the variable, or removes it for null.
    void Set(const char* value) const
    {
        if (value != nullptr) {
            setenv(m_name, value, 1);
        } else {
            unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::optional<std::string> m_previous;
};

// Each test gets a socket directory of its own through KO_PIPE_DIR, inside a
// temporary directory removed afterwards.
class NamedPipePosixTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/ko-pipe-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_runtime = pattern;
        m_pipeDirectory.Set(SocketDirectory().c_str());
    }

    void TearDown() override { RemoveTree(m_runtime); }

    std::string SocketDirectory() const { return m_runtime + "/ko-pipe"; }

    ScopedVariable m_pipeDirectory{"KO_PIPE_DIR"};
    ScopedVariable m_runtimeDirectory{"XDG_RUNTIME_DIR"};
    std::string m_runtime;
};

// Connects, sends one byte and checks that the server got it.
void ExpectRoundTrip(NamedPipe& server, const std::wstring& name)
{
    NamedPipe client(name.c_str());
    ASSERT_EQ(client.Connect(5000), 0);
    client.Write("!", 1);
    const auto connected = server.WaitForConnection(5000);
    ASSERT_NE(connected, nullptr);
    char byte = 0;
    ASSERT_EQ(connected->Read(&byte, 1), 1u);
    EXPECT_EQ(byte, '!');
}

std::int32_t OpenError(NamedPipe& pipe)
{
    try {
        pipe.Open();
    } catch (const KO::SystemException& exception) {
        return exception.GetErrNum();
    }
    return 0;
}

std::int32_t ConnectError(NamedPipe& pipe)
{
    try {
        pipe.Connect(1000);
    } catch (const KO::SystemException& exception) {
        return exception.GetErrNum();
    }
    return 0;
}

} // namespace

TEST_F(NamedPipePosixTest, ServerMakesTheSharedDirectoryAndKeepsItsSocketThereWhileItServes)
{
    const std::wstring name = UniqueName(L"dir");
    const std::string socketPath = SocketDirectory() + "/" + Narrow(name);
    {
        NamedPipe server(name.c_str());
        server.Open();
        // Like /tmp: every user may serve and connect, only a socket's owner
        // may remove it.
        const auto directory = StatOf(SocketDirectory());
        ASSERT_TRUE(directory.has_value());
        EXPECT_TRUE(S_ISDIR(directory->st_mode));
        EXPECT_EQ(directory->st_mode & 07777, 01777u);
        const auto socketFile = StatOf(socketPath);
        ASSERT_TRUE(socketFile.has_value());
        EXPECT_TRUE(S_ISSOCK(socketFile->st_mode));
        EXPECT_EQ(socketFile->st_mode & 0777, 0666u);
        ExpectRoundTrip(server, name);
    }
    EXPECT_FALSE(StatOf(socketPath).has_value());
}

TEST_F(NamedPipePosixTest, APrivateDirectoryStaysPrivate)
{
    ASSERT_EQ(mkdir(SocketDirectory().c_str(), 0700), 0);
    const std::wstring name = UniqueName(L"private");
    NamedPipe server(name.c_str());
    server.Open();
    EXPECT_EQ(StatOf(SocketDirectory())->st_mode & 07777, 0700u);
    ExpectRoundTrip(server, name);
}

TEST_F(NamedPipePosixTest, AnExistingDirectoryOthersMayWriteGetsTheStickyBitFromTheServer)
{
    ASSERT_EQ(mkdir(SocketDirectory().c_str(), 0700), 0);
    ASSERT_EQ(chmod(SocketDirectory().c_str(), 0777), 0);
    const std::wstring name = UniqueName(L"narrow");

    NamedPipe client(name.c_str());
    EXPECT_EQ(ConnectError(client), EACCES); // a client trusts no such directory

    NamedPipe server(name.c_str());
    server.Open();
    EXPECT_EQ(StatOf(SocketDirectory())->st_mode & 07777, 01777u);
    ExpectRoundTrip(server, name);
}

TEST_F(NamedPipePosixTest, ASymbolicLinkInPlaceOfTheDirectoryIsRefused)
{
    const std::string elsewhere = m_runtime + "/elsewhere";
    ASSERT_EQ(mkdir(elsewhere.c_str(), 0700), 0);
    ASSERT_EQ(symlink(elsewhere.c_str(), SocketDirectory().c_str()), 0);

    NamedPipe server(UniqueName(L"link").c_str());
    EXPECT_NE(OpenError(server), 0);
    EXPECT_TRUE(Entries(elsewhere).empty());
}

TEST_F(NamedPipePosixTest, NamesNeverReachOutsideTheDirectory)
{
    const std::wstring tag = UniqueName(L"escape");
    // Pairs that a careless encoding would map to one file: "/" and "%2F",
    // "." and "%2E".
    const std::wstring names[] = {L"../" + tag, tag + L"/x", tag + L"%2Fx", L"..",
                                  L".",         L"%2E",      L".hidden",    L"%2Ehidden"};
    std::vector<std::unique_ptr<NamedPipe>> servers;
    for (const std::wstring& name : names) {
        servers.push_back(std::make_unique<NamedPipe>(name.c_str()));
        ASSERT_NO_THROW(servers.back()->Open()) << Narrow(name);
        ExpectRoundTrip(*servers.back(), name);
    }
    EXPECT_EQ(Entries(m_runtime), std::set<std::string>{"ko-pipe"});
    // One socket and one lock file per name: no two names share a file.
    EXPECT_EQ(Entries(SocketDirectory()).size(), 2 * std::size(names));
}

TEST_F(NamedPipePosixTest, ASocketLeftByADeadServerDoesNotBlockANewOne)
{
    const std::wstring name = UniqueName(L"stale");
    ASSERT_EQ(mkdir(SocketDirectory().c_str(), 0700), 0);
    const std::string socketPath = SocketDirectory() + "/" + Narrow(name);
    {
        // A server that died: its socket file stays, nobody listens on it.
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, socketPath.c_str());
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        close(fd);
    }
    NamedPipe early(name.c_str());
    EXPECT_EQ(ConnectError(early), ECONNREFUSED);

    NamedPipe server(name.c_str());
    server.Open();
    ExpectRoundTrip(server, name);
}

TEST_F(NamedPipePosixTest, WithoutAnAbsoluteOverrideTheSharedTmpDirectoryServes)
{
    const std::string shared = "/tmp/ko-pipe";
    for (const char* configured : {static_cast<const char*>(nullptr), "relative/dir", ""}) {
        m_pipeDirectory.Set(configured);
        const std::wstring name = UniqueName(L"default");
        NamedPipe server(name.c_str());
        server.Open();
        EXPECT_TRUE(StatOf(shared + "/" + Narrow(name)).has_value());
        ExpectRoundTrip(server, name);
    }
}

TEST_F(NamedPipePosixTest, ClientAndServerMeetWhateverTheirRuntimeDirectories)
{
    const std::wstring name = UniqueName(L"environment");
    m_runtimeDirectory.Set(m_runtime.c_str());
    NamedPipe server(name.c_str());
    server.Open();
    m_runtimeDirectory.Set(nullptr);
    ExpectRoundTrip(server, name);
    EXPECT_EQ(Entries(m_runtime), std::set<std::string>{"ko-pipe"});
}

TEST_F(NamedPipePosixTest, LongNamesUpTo4095CharactersConnectWithoutColliding)
{
    const std::wstring tag = UniqueName(L"long");
    // Two names that differ only in their last character, one that would
    // climb out of the directory, one just over the plain length.
    const std::wstring names[] = {tag + std::wstring(4095 - tag.size(), L'a'),
                                  tag + std::wstring(4094 - tag.size(), L'a') + L'b',
                                  L"../" + tag + std::wstring(4000, L'/'),
                                  tag + std::wstring(65 - tag.size(), L'c')};
    std::vector<std::unique_ptr<NamedPipe>> servers;
    for (const std::wstring& name : names) {
        servers.push_back(std::make_unique<NamedPipe>(name.c_str()));
        ASSERT_NO_THROW(servers.back()->Open()) << name.size();
    }
    for (std::size_t i = 0; i < std::size(names); ++i) {
        ExpectRoundTrip(*servers[i], names[i]);
    }
    EXPECT_EQ(Entries(m_runtime), std::set<std::string>{"ko-pipe"});
    const std::set<std::string> files = Entries(SocketDirectory());
    EXPECT_EQ(files.size(), 2 * std::size(names));
    for (const std::string& file : files) {
        EXPECT_LE(file.size(), 67u) << file; // "...", then 64 digits
    }
}

TEST_F(NamedPipePosixTest, ANameLongerThanTheLimitBecomesTheDigestOfItsEncoding)
{
    // 64 bytes are used as they are; 100 become ".." and the SHA-256 of the
    // encoding, the same in every process that speaks to the pipe.
    const std::wstring plain(64, L'p');
    const std::wstring hashed(100, L'x');
    NamedPipe plainServer(plain.c_str());
    plainServer.Open();
    NamedPipe hashedServer(hashed.c_str());
    hashedServer.Open();
    NamedPipe escapedServer((L"../" + std::wstring(100, L'y')).c_str());
    escapedServer.Open();
    EXPECT_EQ(Entries(SocketDirectory()),
              (std::set<std::string>{
                  std::string(64, 'p'), "." + std::string(64, 'p'),
                  "..09ECB6EBC8BCEFC733F6F2EC44F791ABEED6A99EDF0CC31519637898AEBD52D8",
                  "...09ECB6EBC8BCEFC733F6F2EC44F791ABEED6A99EDF0CC31519637898AEBD52D8",
                  "..47F10C06E8D33DC11ADEACE1988AC6E2E894A3FA33C83D270AC712DA3971EC68",
                  "...47F10C06E8D33DC11ADEACE1988AC6E2E894A3FA33C83D270AC712DA3971EC68"}));
}
