// Where the POSIX backend keeps its sockets, and how it guards that place.
#include "base/NamedPipe.h"
#include "base/SystemException.h"

#include "../PipeTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <string>

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

// Each test gets its own runtime directory through XDG_RUNTIME_DIR, restored
// and removed afterwards.
class NamedPipePosixTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* previous = std::getenv("XDG_RUNTIME_DIR")) {
            m_previous = previous;
        }
        char pattern[] = "/tmp/ko-pipe-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_runtime = pattern;
        setenv("XDG_RUNTIME_DIR", m_runtime.c_str(), 1);
    }

    void TearDown() override
    {
        if (m_previous) {
            setenv("XDG_RUNTIME_DIR", m_previous->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        RemoveTree(m_runtime);
    }

    std::string SocketDirectory() const { return m_runtime + "/ko-pipe"; }

    std::optional<std::string> m_previous;
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

TEST_F(NamedPipePosixTest, SocketLivesInAPrivateDirectoryWhileTheServerDoes)
{
    const std::wstring name = UniqueName(L"dir");
    const std::string socketPath = SocketDirectory() + "/" + Narrow(name);
    {
        NamedPipe server(name.c_str());
        server.Open();
        const auto directory = StatOf(SocketDirectory());
        ASSERT_TRUE(directory.has_value());
        EXPECT_TRUE(S_ISDIR(directory->st_mode));
        EXPECT_EQ(directory->st_mode & 07777, 0700u);
        const auto socketFile = StatOf(socketPath);
        ASSERT_TRUE(socketFile.has_value());
        EXPECT_TRUE(S_ISSOCK(socketFile->st_mode));
        ExpectRoundTrip(server, name);
    }
    EXPECT_FALSE(StatOf(socketPath).has_value());
}

TEST_F(NamedPipePosixTest, AnExistingDirectoryOpenToOthersIsNarrowedByTheServer)
{
    ASSERT_EQ(mkdir(SocketDirectory().c_str(), 0700), 0);
    ASSERT_EQ(chmod(SocketDirectory().c_str(), 0777), 0);
    const std::wstring name = UniqueName(L"narrow");

    NamedPipe client(name.c_str());
    EXPECT_EQ(ConnectError(client), EACCES); // a client trusts no such directory

    NamedPipe server(name.c_str());
    server.Open();
    EXPECT_EQ(StatOf(SocketDirectory())->st_mode & 07777, 0700u);
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

TEST_F(NamedPipePosixTest, WithoutAnAbsoluteRuntimeDirectoryTheUsersTmpDirectoryServes)
{
    const std::string fallback = "/tmp/ko-pipe-" + std::to_string(geteuid());
    for (const char* runtime : {static_cast<const char*>(nullptr), "relative/dir", ""}) {
        if (runtime != nullptr) {
            setenv("XDG_RUNTIME_DIR", runtime, 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        const std::wstring name = UniqueName(L"fallback");
        NamedPipe server(name.c_str());
        server.Open();
        EXPECT_EQ(StatOf(fallback)->st_mode & 07777, 0700u);
        EXPECT_TRUE(StatOf(fallback + "/" + Narrow(name)).has_value());
        ExpectRoundTrip(server, name);
    }
}
