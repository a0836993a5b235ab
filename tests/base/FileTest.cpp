#include "base/File.h"
#include "base/Error.h"
#include "base/SystemException.h"

#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

namespace {

#ifdef _WIN32
constexpr std::int32_t kFileExists = 183; // ERROR_ALREADY_EXISTS
constexpr std::int32_t kFileNotFound = 2; // ERROR_FILE_NOT_FOUND
#else
constexpr std::int32_t kFileExists = EEXIST;
constexpr std::int32_t kFileNotFound = ENOENT;
#endif

const std::vector<std::wstring> kAB = {L"a", L"b"};

class FileTest : public ::testing::Test
{
protected:
    KO::File FileNamed(const std::wstring& name) const
    {
        return KO::File(KO::FilePath(directory.Name(name).c_str()));
    }

    TemporaryDirectory directory;
};

struct LinesCase
{
    const char* name;
    std::vector<std::wstring> lines;
    bool writeBom;
    int encoding;
    std::string bytes;
};

using namespace std::string_literals;

const LinesCase kWriteCases[] = {
    {"utf8 with mark", kAB, true, KO::ENCODING_UTF8,
     "\xEF\xBB\xBF"
     "a\r\nb"},
    {"utf8", kAB, false, KO::ENCODING_UTF8, "a\r\nb"},
    {"utf16 with mark", kAB, true, KO::ENCODING_UTF16LE,
     "\xFF\xFE"
     "a\0\r\0\n\0b\0"s},
    {"utf16", kAB, false, KO::ENCODING_UTF16LE, "a\0\r\0\n\0b\0"s},
    {"ansi with mark", kAB, true, KO::ENCODING_ANSI, "a\r\nb"},
    {"ansi", kAB, false, KO::ENCODING_ANSI, "a\r\nb"},
    {"other value as ansi", kAB, false, 7, "a\r\nb"},
    {"no lines", {}, true, KO::ENCODING_UTF8, "\xEF\xBB\xBF"},
    {"empty lines", {L"", L""}, false, KO::ENCODING_UTF8, "\r\n"},
    {"utf8 beyond the BMP",
     {L"\U0001F600", L"x"},
     false,
     KO::ENCODING_UTF8,
     "\xF0\x9F\x98\x80\r\nx"},
    {"utf16 beyond the BMP",
     {L"\U0001F600", L"x"},
     false,
     KO::ENCODING_UTF16LE,
     "\x3D\xD8\x00\xDE\r\0\n\0x\0"s},
};

} // namespace

TEST_F(FileTest, WriteLinesWritesTheMarkAndLinesWithBreaksBetweenThem)
{
    for (const LinesCase& c : kWriteCases) {
        const std::wstring path = directory.Name(L"write.txt");
        WriteBytes(path, "old content that is longer");
        EXPECT_TRUE(
            FileNamed(L"write.txt")
                .WriteLines(c.lines, c.writeBom, static_cast<KO::ENUM_ENCODING>(c.encoding)))
            << c.name;
        EXPECT_EQ(ReadBytes(path), ToBytes(c.bytes)) << c.name;
    }
}

TEST_F(FileTest, AppendLinesOnAnExistingFileAppendsEveryLineWithABreak)
{
    const struct
    {
        bool writeBom;
        KO::ENUM_ENCODING encoding;
        std::string bytes;
    } cases[] = {
        {true, KO::ENCODING_UTF8,
         "x"
         "a\r\nb\r\n"}, // no mark in the middle of a file
        {false, KO::ENCODING_UTF8,
         "x"
         "a\r\nb\r\n"},
        {true, KO::ENCODING_UTF16LE,
         "x"
         "a\0\r\0\n\0b\0\r\0\n\0"s},
        {false, KO::ENCODING_ANSI,
         "x"
         "a\r\nb\r\n"},
    };
    for (const auto& c : cases) {
        const std::wstring path = directory.Name(L"append.txt");
        WriteBytes(path, "x");
        std::uint64_t size = 0;
        EXPECT_TRUE(FileNamed(L"append.txt").AppendLines(kAB, c.writeBom, c.encoding, &size));
        EXPECT_EQ(ReadBytes(path), ToBytes(c.bytes)) << c.encoding;
        EXPECT_EQ(size, c.bytes.size()) << "the size after the append";
    }
}

TEST_F(FileTest, AppendLinesOnAMissingFileCreatesItWithMarkAndEndsEveryLine)
{
    const KO::File file = FileNamed(L"new.txt");
    std::uint64_t size = 0;
    EXPECT_TRUE(file.AppendLines(kAB, true, KO::ENCODING_UTF16LE, &size));
    EXPECT_EQ(ReadBytes(file.GetPath().GetPath()), ToBytes("\xFF\xFE"
                                                           "a\0\r\0\n\0b\0\r\0\n\0"s));
    EXPECT_EQ(size, 14U);
    // The next append starts a line of its own.
    EXPECT_TRUE(file.AppendLines({L"c"}, true, KO::ENCODING_UTF16LE));
    EXPECT_EQ(ReadBytes(file.GetPath().GetPath()), ToBytes("\xFF\xFE"
                                                           "a\0\r\0\n\0b\0\r\0\n\0c\0\r\0\n\0"s));
}

TEST_F(FileTest, EncodingsWithoutEncoderAreRefusedWithoutTouchingTheFile)
{
    const struct
    {
        bool writeBom;
        int encoding;
    } cases[] = {{false, 3}, {true, 3}, {true, 4}, {true, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoding);
        const auto encoding = static_cast<KO::ENUM_ENCODING>(c.encoding);
        const KO::File missing = FileNamed(L"missing.txt");
        const KO::File existing = FileNamed(L"existing.txt");
        WriteBytes(existing.GetPath().GetPath(), "keep");
        try {
            missing.WriteLines(kAB, c.writeBom, encoding);
            ADD_FAILURE() << "no Error thrown";
        } catch (const KO::Error& error) {
            EXPECT_STREQ(error.GetErrMsg(), L"File::WriteLines(const std::vector<std::wstring> "
                                            L"&, bool, ENUM_ENCODING)#No encoder for the "
                                            L"encoding.");
        }
        for (const KO::File& file : {missing, existing}) {
            try {
                file.AppendLines(kAB, c.writeBom, encoding);
                ADD_FAILURE() << "no Error thrown";
            } catch (const KO::Error& error) {
                EXPECT_STREQ(error.GetErrMsg(), L"File::AppendLines(const "
                                                L"std::vector<std::wstring> &, bool, "
                                                L"ENUM_ENCODING)#No encoder for the encoding.");
            }
        }
        EXPECT_FALSE(missing.Exists());
        EXPECT_EQ(ReadBytes(existing.GetPath().GetPath()), ToBytes("keep"));
    }
}

TEST_F(FileTest, WriteLinesIntoAMissingDirectoryThrowsTheOpenFailure)
{
    const KO::File file = FileNamed(L"no-such-directory/x.log");
    try {
        file.AppendLines(kAB, true, KO::ENCODING_UTF8);
        FAIL() << "no SystemException thrown";
    } catch (const KO::SystemException& exception) {
        const std::wstring expected =
            L"FileStream::FileStream(const FilePath, const ENUM_FILE_ACCESS)#_wfopen_s " +
            file.GetPath().GetPath() + L" fails.";
        EXPECT_EQ(exception.GetErrMsg(), expected);
        EXPECT_EQ(exception.GetErrNum(), ENOENT);
    }
}

#ifndef _WIN32
// /dev/full takes buffered bytes and refuses them when they are written back.
TEST_F(FileTest, LinesLostOnCloseAreAFailureNotASuccess)
{
    const KO::File file(KO::FilePath(L"/dev/full"));
    for (const bool append : {false, true}) {
        try {
            append ? file.AppendLines(kAB, false, KO::ENCODING_UTF8)
                   : file.WriteLines(kAB, false, KO::ENCODING_UTF8);
            ADD_FAILURE() << "no SystemException thrown";
        } catch (const KO::SystemException& exception) {
            EXPECT_STREQ(exception.GetErrMsg(), L"FileStream::Close()#fclose fails.");
            EXPECT_EQ(exception.GetErrNum(), ENOSPC);
        }
    }
}
#endif

TEST_F(FileTest, GetSizeCreatesAMissingFile)
{
    const KO::File file = FileNamed(L"size.txt");
    EXPECT_FALSE(file.Exists());
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.Exists());

    WriteBytes(file.GetPath().GetPath(), "abc");
    EXPECT_EQ(file.GetSize(), 3u);
}

TEST_F(FileTest, ExistsOnlyForFiles)
{
    std::filesystem::create_directory(directory.Path() / "folder");
    WriteBytes(directory.Path() / "file", "");
    EXPECT_TRUE(FileNamed(L"file").Exists());
    EXPECT_FALSE(FileNamed(L"folder").Exists());
    EXPECT_FALSE(FileNamed(L"missing").Exists());
}

TEST_F(FileTest, DeleteRemovesTheFile)
{
    const KO::File file = FileNamed(L"delete.txt");
    WriteBytes(file.GetPath().GetPath(), "x");
    file.Delete();
    EXPECT_FALSE(file.Exists());
    try {
        file.Delete();
        FAIL() << "no SystemException thrown";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(), L"File::Delete()#DeleteFile fails.");
        EXPECT_EQ(exception.GetErrNum(), kFileNotFound);
    }
}

TEST_F(FileTest, RenameMovesTheFileWithinItsDirectory)
{
    KO::File file = FileNamed(L"Log.out");
    WriteBytes(file.GetPath().GetPath(), "content");
    file.Rename(L"Log.out.1");
    EXPECT_EQ(file.GetPath().GetPath(), directory.Name(L"Log.out.1"));
    EXPECT_TRUE(file.Exists());
    EXPECT_FALSE(FileNamed(L"Log.out").Exists());
    EXPECT_EQ(ReadBytes(directory.Name(L"Log.out.1")), ToBytes("content"));
}

TEST_F(FileTest, RenameOntoAnExistingFileFailsAndChangesNothing)
{
    KO::File file = FileNamed(L"Log.out");
    WriteBytes(directory.Name(L"Log.out"), "new");
    WriteBytes(directory.Name(L"Log.out.1"), "old");
    try {
        file.Rename(L"Log.out.1");
        FAIL() << "no SystemException thrown";
    } catch (const KO::SystemException& exception) {
        EXPECT_STREQ(exception.GetErrMsg(), L"File::Rename(const std::wstring &)#MoveFile fails.");
        EXPECT_EQ(exception.GetErrNum(), kFileExists);
    }
    EXPECT_EQ(file.GetPath().GetPath(), directory.Name(L"Log.out"));
    EXPECT_EQ(ReadBytes(directory.Name(L"Log.out")), ToBytes("new"));
    EXPECT_EQ(ReadBytes(directory.Name(L"Log.out.1")), ToBytes("old"));
}

TEST_F(FileTest, RenameOfAMissingFileFails)
{
    KO::File file = FileNamed(L"missing");
    try {
        file.Rename(L"other");
        FAIL() << "no SystemException thrown";
    } catch (const KO::SystemException& exception) {
        EXPECT_EQ(exception.GetErrNum(), kFileNotFound);
    }
    EXPECT_FALSE(FileNamed(L"other").Exists());
}

TEST_F(FileTest, SetPathNamesAnotherFile)
{
    KO::File file = FileNamed(L"first");
    file.SetPath(directory.Name(L"second").c_str());
    EXPECT_EQ(file.GetPath().GetPath(), directory.Name(L"second"));
    EXPECT_TRUE(file.WriteLines({L"x"}, false, KO::ENCODING_UTF8));
    EXPECT_EQ(ReadBytes(directory.Name(L"second")), ToBytes("x"));
    EXPECT_FALSE(FileNamed(L"first").Exists());
}
