#include "base/Error.h"
#include "base/ParsingException.h"
#include "base/SystemException.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

void FailWithInvalidArguments()
{
    throw KO::Error(L"FilePath::FilePath(const wchar_t *) fails#Invalid Parameters.");
}

} // namespace

TEST(ErrorTest, KeepsThePointerToItsLiteral)
{
    static const wchar_t* const literal = L"Thread::Join()#WaitForSingleObject fails.";
    const KO::Error error(literal);
    const KO::Error copy = error;
    EXPECT_EQ(error.GetErrMsg(), literal);
    EXPECT_EQ(copy.GetErrMsg(), literal);
}

TEST(ExceptionTest, NullMessageThrowsError)
{
    try {
        KO::Exception exception(nullptr);
        FAIL() << "no Error thrown";
    } catch (const KO::Error& error) {
        EXPECT_STREQ(error.GetErrMsg(),
                     L"Exception::Exception(const wchar_t*)#Invalid Parameters.");
    }
}

TEST(ExceptionTest, CopiesTheMessageText)
{
    wchar_t buffer[] = L"first";
    const KO::Exception exception(buffer);
    std::wcscpy(buffer, L"other");
    EXPECT_STREQ(exception.GetErrMsg(), L"first");
}

TEST(SystemExceptionTest, CopyInHandlerKeepsMessageAndNumber)
{
    try {
        throw KO::SystemException(L"KO::Semaphore::Notify()#ReleaseSemaphore fails", 298);
    } catch (const KO::SystemException& caught) {
        const KO::SystemException copy = caught;
        EXPECT_STREQ(copy.GetErrMsg(), L"KO::Semaphore::Notify()#ReleaseSemaphore fails");
        EXPECT_EQ(copy.GetErrNum(), 298);
    }
}

TEST(SystemExceptionTest, HandlerLetsErrorPassToTheNextHandler)
{
    std::wstring reached;
    try {
        try {
            FailWithInvalidArguments();
        } catch (const KO::SystemException&) {
            reached = L"system handler";
        }
    } catch (const KO::Error& error) {
        reached = error.GetErrMsg();
    }
    EXPECT_EQ(reached, L"FilePath::FilePath(const wchar_t *) fails#Invalid Parameters.");
}

TEST(SystemExceptionTest, ErrorHandlerDoesNotCatchExceptions)
{
    bool caughtAsException = false;
    try {
        try {
            throw KO::ParsingException(L"bad input");
        } catch (const KO::Error&) {
            FAIL() << "an Error handler caught an Exception";
        }
    } catch (const KO::Exception& exception) {
        caughtAsException = std::wstring(exception.GetErrMsg()) == L"bad input";
    }
    EXPECT_TRUE(caughtAsException);
}
