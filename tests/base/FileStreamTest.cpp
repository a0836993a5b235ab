#include "base/FileStream.h"
#include "base/Error.h"
#include "base/SystemException.h"

#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

// A line buffer as ReadLine hands it over: allocated with malloc, freed here.
struct LineBuffer
{
    char* data = nullptr;
    std::size_t capacity = 0;

    ~LineBuffer() { std::free(data); }
};

class FileStreamTest : public ::testing::Test
{
protected:
    // A file of the temporary directory holding bytes.
    std::wstring MakeFile(const std::wstring& name, const std::string& bytes) const
    {
        const std::wstring path = directory.Name(name);
        WriteBytes(path, bytes);
        return path;
    }

    static KO::FileStream Open(const std::wstring& path, KO::ENUM_FILE_ACCESS access)
    {
        return KO::FileStream(KO::FilePath(path.c_str()), access);
    }

    TemporaryDirectory directory;
};

template <typename Exception, typename Operation>
void ExpectThrows(Operation operation, const wchar_t* message)
{
    try {
        operation();
        ADD_FAILURE() << "nothing thrown";
    } catch (const Exception& exception) {
        EXPECT_STREQ(exception.GetErrMsg(), message);
    }
}

} // namespace

TEST_F(FileStreamTest, OpeningAMissingFileForReadingThrowsWithThePath)
{
    const std::wstring path = directory.Name(L"missing.txt");
    try {
        KO::FileStream stream(KO::FilePath(path.c_str()), KO::FILE_ACCESS_READ);
        FAIL() << "no SystemException thrown";
    } catch (const KO::SystemException& exception) {
        const std::wstring expected =
            L"FileStream::FileStream(const FilePath, const ENUM_FILE_ACCESS)#_wfopen_s " + path +
            L" fails.";
        EXPECT_EQ(exception.GetErrMsg(), expected);
        EXPECT_EQ(exception.GetErrNum(), ENOENT);
    }
}

TEST_F(FileStreamTest, EachAccessModeOpensAsItsRuntimeMode)
{
    const struct
    {
        int access;
        bool writable;
        std::string content; // after writing "xy" to a file holding "abc"
    } cases[] = {
        {KO::FILE_ACCESS_READ, false, "abc"},
        {KO::FILE_ACCESS_WRITE, true, "xy"},
        {KO::FILE_ACCESS_WRITE_READ, true, "xy"},
        {KO::FILE_ACCESS_APPEND_READ, true, "abcxy"},
        {7, false, "abc"}, // any other value reads
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.access);
        const std::wstring path = MakeFile(L"mode" + std::to_wstring(c.access), "abc");
        {
            auto stream = Open(path, static_cast<KO::ENUM_FILE_ACCESS>(c.access));
            if (c.writable) {
                EXPECT_EQ(stream.Write("xy", 2), 2u);
            } else {
                try {
                    stream.Write("xy", 2);
                    ADD_FAILURE() << "no SystemException thrown";
                } catch (const KO::SystemException& exception) {
                    EXPECT_STREQ(exception.GetErrMsg(),
                                 L"FileStream::Write(void *, aint)#fwrite fails.");
                    EXPECT_EQ(exception.GetErrNum(), -1);
                }
            }
        }
        EXPECT_EQ(ReadBytes(path), ToBytes(c.content));
    }
}

TEST_F(FileStreamTest, WritingModesCreateAMissingFile)
{
    for (const auto access :
         {KO::FILE_ACCESS_WRITE, KO::FILE_ACCESS_WRITE_READ, KO::FILE_ACCESS_APPEND_READ}) {
        const std::wstring path = directory.Name(L"created" + std::to_wstring(access));
        EXPECT_EQ(Open(path, access).GetSize(), 0u);
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << access;
    }
}

TEST_F(FileStreamTest, LeaveClosedOpensOnlyAnExistingFile)
{
    const std::wstring missing = directory.Name(L"missing.log");
    const std::wstring inMissingDirectory = directory.Name(L"no-such-directory/x.log");
    for (const std::wstring& path : {missing, inMissingDirectory}) {
        const KO::FileStream stream(KO::FilePath(path.c_str()), KO::FILE_ACCESS_APPEND_READ,
                                    KO::FileStream::MissingFile::LeaveClosed);
        EXPECT_FALSE(stream.IsOpen());
    }
    EXPECT_FALSE(std::filesystem::exists(missing));

    const std::wstring existing = MakeFile(L"existing.log", "abc");
    {
        KO::FileStream stream(KO::FilePath(existing.c_str()), KO::FILE_ACCESS_APPEND_READ,
                              KO::FileStream::MissingFile::LeaveClosed);
        ASSERT_TRUE(stream.IsOpen());
        stream.Seek(0); // appending writes at the end wherever the position is
        stream.Write("d", 1);
    }
    EXPECT_EQ(ReadBytes(existing), ToBytes("abcd"));
}

TEST_F(FileStreamTest, ReadReturnsWhatIsLeft)
{
    auto stream = Open(MakeFile(L"read", "abcdef"), KO::FILE_ACCESS_READ);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(stream.Read(buffer, 8), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(stream.Read(buffer, 8), 0u);
}

#ifndef _WIN32
// The C runtime under Wine reports an empty read here, without an error.
TEST_F(FileStreamTest, ReadingAWriteOnlyStreamThrowsSystemException)
{
    auto stream = Open(directory.Name(L"writeonly"), KO::FILE_ACCESS_WRITE);
    stream.Write("abc", 3);
    stream.Seek(0); // bytes to read, so that only the access mode stands in the way
    char buffer[4];
    try {
        stream.Read(buffer, sizeof buffer);
        ADD_FAILURE() << "no SystemException thrown";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(), L"FileStream::Read(void *, aint)#fread fails.");
        EXPECT_EQ(exception.GetErrNum(), -1);
    }
    LineBuffer line;
    try {
        stream.ReadLine(&line.data, &line.capacity);
        ADD_FAILURE() << "no SystemException thrown";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(),
                     L"FileStream::ReadLine(void*, std::size_t)#getline_ex fails.");
        EXPECT_EQ(exception.GetErrNum(), EBADF);
    }
}
#endif

TEST_F(FileStreamTest, NullBuffersThrowError)
{
    auto stream = Open(MakeFile(L"null", "abc"), KO::FILE_ACCESS_APPEND_READ);
    std::size_t capacity = 0;
    char* line = nullptr;
    ExpectThrows<KO::Error>([&] { stream.Read(nullptr, 1); },
                            L"FileStream::Read(void *, std::size_t)#Invalid Parameters.");
    ExpectThrows<KO::Error>([&] { stream.Write(nullptr, 1); },
                            L"FileStream::Write(void *, aint)#Invalid Parameters.");
    ExpectThrows<KO::Error>([&] { stream.ReadLine(nullptr, &capacity); },
                            L"FileStream::ReadLine(void*, std::size_t#Invalid Parameters.");
    ExpectThrows<KO::Error>([&] { stream.ReadLine(&line, nullptr); },
                            L"FileStream::ReadLine(void*, std::size_t#Invalid Parameters.");
}

TEST_F(FileStreamTest, AClosedStreamRefusesReadsAndWritesAndReportsZero)
{
    const std::wstring path = directory.Name(L"closed");
    auto stream = Open(path, KO::FILE_ACCESS_WRITE_READ);
    stream.Write("abc", 3);
    stream.Close();
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(ReadBytes(path), ToBytes("abc"));

    char buffer[4];
    LineBuffer line;
    ExpectThrows<KO::Error>([&] { stream.Read(buffer, 1); },
                            L"FileStream::Read(void *, std::size_t)#Invalid Parameters.");
    ExpectThrows<KO::Error>([&] { stream.Write("d", 1); },
                            L"FileStream::Write(void *, aint)#Invalid Parameters.");
    ExpectThrows<KO::Error>([&] { stream.ReadLine(&line.data, &line.capacity); },
                            L"FileStream::ReadLine(void*, std::size_t#Invalid Parameters.");
    EXPECT_EQ(stream.GetSize(), 0u);
    EXPECT_EQ(stream.GetPosition(), 0u);
    stream.Seek(1);
    stream.Flush();
    stream.Close();
}

#ifndef _WIN32
// /dev/full takes buffered bytes and refuses them when they are written back.
TEST_F(FileStreamTest, CloseReportsBytesThatCouldNotBeWritten)
{
    KO::FileStream stream(KO::FilePath(L"/dev/full"), KO::FILE_ACCESS_WRITE);
    stream.Write("abc", 3);
    try {
        stream.Close();
        ADD_FAILURE() << "no SystemException thrown";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(), L"FileStream::Close()#fclose fails.");
        EXPECT_EQ(exception.GetErrNum(), ENOSPC);
    }
    EXPECT_FALSE(stream.IsOpen());
}
#endif

TEST_F(FileStreamTest, GetSizeKeepsThePosition)
{
    auto stream = Open(MakeFile(L"size", "abcdef"), KO::FILE_ACCESS_READ);
    char buffer[2];
    stream.Read(buffer, 2);
    EXPECT_EQ(stream.GetSize(), 6u);
    EXPECT_EQ(stream.GetPosition(), 2u);
}

TEST_F(FileStreamTest, SeekAndSkipStopAtTheEnd)
{
    auto stream = Open(MakeFile(L"seek", "abcdef"), KO::FILE_ACCESS_READ);
    stream.Seek(3);
    EXPECT_EQ(stream.GetPosition(), 3u);
    stream.Skip(2);
    EXPECT_EQ(stream.GetPosition(), 5u);
    stream.Skip(10);
    EXPECT_EQ(stream.GetPosition(), 6u);
    stream.Seek(100);
    EXPECT_EQ(stream.GetPosition(), 6u);
    stream.Seek(1);
    char c = 0;
    EXPECT_EQ(stream.Read(&c, 1), 1u);
    EXPECT_EQ(c, 'b');
}

TEST_F(FileStreamTest, FlushHandsBufferedBytesToTheSystem)
{
    const std::wstring path = directory.Name(L"flush");
    auto stream = Open(path, KO::FILE_ACCESS_WRITE);
    stream.Write("abc", 3);
    stream.Flush();
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
}

TEST_F(FileStreamTest, ReadLineReturnsEachLineWithItsLineFeed)
{
    auto stream = Open(MakeFile(L"lines", "one\r\n\ntwo\nlast"), KO::FILE_ACCESS_READ);
    LineBuffer line;
    const std::string expected[] = {"one\r\n", "\n", "two\n", "last"};
    for (const std::string& text : expected) {
        ASSERT_EQ(stream.ReadLine(&line.data, &line.capacity), text.size());
        EXPECT_EQ(std::string(line.data), text);
    }
    EXPECT_EQ(line.capacity, 128u);
    EXPECT_EQ(stream.ReadLine(&line.data, &line.capacity), 0u);
    EXPECT_STREQ(line.data, "");
}

TEST_F(FileStreamTest, ReadLineOfAnEmptyFileReturnsZeroAndATerminatedBuffer)
{
    auto stream = Open(MakeFile(L"empty", ""), KO::FILE_ACCESS_READ);
    LineBuffer line;
    EXPECT_EQ(stream.ReadLine(&line.data, &line.capacity), 0u);
    ASSERT_NE(line.data, nullptr);
    EXPECT_EQ(line.capacity, 128u);
    EXPECT_STREQ(line.data, "");
}

TEST_F(FileStreamTest, ReadLineGrowsTheBufferByAQuarter)
{
    const struct
    {
        std::size_t lineLength; // line feed included
        std::size_t capacity;
    } cases[] = {
        {127, 128}, // the line and its zero fill the first buffer
        {128, 160},
        {300, 312}, // 128, 160, 200, 250, 312
    };
    for (const auto& c : cases) {
        const std::string text = std::string(c.lineLength - 1, 'x') + "\n";
        auto stream = Open(MakeFile(L"long" + std::to_wstring(c.lineLength), text + "next\n"),
                           KO::FILE_ACCESS_READ);
        LineBuffer line;
        EXPECT_EQ(stream.ReadLine(&line.data, &line.capacity), c.lineLength);
        EXPECT_EQ(line.capacity, c.capacity) << c.lineLength;
        EXPECT_EQ(std::string(line.data), text);
        EXPECT_EQ(stream.ReadLine(&line.data, &line.capacity), 5u);
        EXPECT_EQ(std::string(line.data), "next\n");
    }
}

TEST_F(FileStreamTest, ReadLineGrowsASmallCallerBufferToAtLeast128Bytes)
{
    auto stream = Open(MakeFile(L"small", "abcdefgh\n"), KO::FILE_ACCESS_READ);
    LineBuffer line;
    line.capacity = 4;
    line.data = static_cast<char*>(std::malloc(line.capacity));
    EXPECT_EQ(stream.ReadLine(&line.data, &line.capacity), 9u);
    EXPECT_EQ(line.capacity, 128u);
    EXPECT_EQ(std::string(line.data), "abcdefgh\n");
}
