// The host's stand-in service: what each message does to the isolation
// state, what it announces and logs, and where its pipe name comes from.

#include "IsolationService.h"

#include "base/NamedPipe.h"
#include "base/Server.h"

#include "LogCapture.h"
#include "PipeTestSupport.h"
#include "TestDirectory.h"

#include <QCoreApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

constexpr unsigned int kGenerousMs = 10000;

QString UniquePipeName(const wchar_t* tag)
{
    return QString::fromStdWString(KoTest::UniqueName(tag));
}

// Sends `text` the way the page does: one connection, UTF-16LE, closed once
// the service has read it.
void Send(const QString& pipe, const QString& text)
{
    const std::wstring name = pipe.toStdWString();
    KO::LOCALSOCKET::NamedPipe client(name.c_str());
    ASSERT_EQ(client.Connect(kGenerousMs), 0);
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    if (!bytes.isEmpty()) {
        client.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    client.Flush();
}

struct MessageCase
{
    const char* label;
    bool before;
    QString text;
    bool after;
    bool announced; // sigIsolationChanged
    std::string logged;
};

void PrintTo(const MessageCase& messageCase, std::ostream* out)
{
    *out << messageCase.label;
}

class IsolationServiceMessageTest : public testing::TestWithParam<MessageCase>
{};

TEST_P(IsolationServiceMessageTest, MessageSetsTheStateAndIsLogged)
{
    const LogCapture capture;
    const MessageCase& message = GetParam();
    IsolationService service(UniquePipeName(L"isolation-service"), message.before);
    ASSERT_TRUE(service.listen()) << service.errorString().toStdString();
    QSignalSpy received(&service, &IsolationService::sigMessage);
    QSignalSpy changed(&service, &IsolationService::sigIsolationChanged);

    Send(service.pipeName(), message.text);

    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }, kGenerousMs));
    EXPECT_EQ(received.first().first().toString(), message.text);
    EXPECT_EQ(service.isolated(), message.after);
    ASSERT_EQ(changed.count(), message.announced ? 1 : 0);
    if (message.announced) {
        EXPECT_EQ(changed.first().first().toBool(), message.after);
    }
    EXPECT_TRUE(capture.HasLine("INFO", message.logged)) << capture.Text();
}

INSTANTIATE_TEST_SUITE_P(
    Messages, IsolationServiceMessageTest,
    testing::Values(MessageCase{"On", false, "isolation=on", true, true,
                                "isolation service: received \"isolation=on\", isolation on."},
                    MessageCase{"Off", true, "isolation=off", false, true,
                                "isolation service: received \"isolation=off\", isolation off."},
                    MessageCase{"OnAgain", true, "isolation=on", true, false,
                                "isolation service: received \"isolation=on\", isolation on."},
                    MessageCase{
                        "Unknown", true, "isolation", true, false,
                        "isolation service: received \"isolation\", not a message of the service."},
                    MessageCase{"Empty", false, "", false, false,
                                "isolation service: received \"\", not a message of the service."}),
    [](const testing::TestParamInfo<MessageCase>& info) { return info.param.label; });

TEST(IsolationServiceTest, MessagesAreTakenInTheOrderTheyCame)
{
    IsolationService service(UniquePipeName(L"isolation-order"), false);
    ASSERT_TRUE(service.listen());
    QSignalSpy changed(&service, &IsolationService::sigIsolationChanged);

    for (const char* text : {"isolation=on", "isolation=off", "isolation=on"}) {
        Send(service.pipeName(), QString::fromLatin1(text));
    }

    EXPECT_TRUE(QTest::qWaitFor([&] { return changed.count() == 3; }, kGenerousMs));
    ASSERT_EQ(changed.count(), 3);
    EXPECT_EQ(changed[0].first().toBool(), true);
    EXPECT_EQ(changed[1].first().toBool(), false);
    EXPECT_EQ(changed[2].first().toBool(), true);
    EXPECT_TRUE(service.isolated());
}

TEST(IsolationServiceTest, OneServiceListensPerProcess)
{
    {
        IsolationService first(UniquePipeName(L"isolation-first"), false);
        ASSERT_TRUE(first.listen());
        IsolationService second(UniquePipeName(L"isolation-second"), false);
        EXPECT_FALSE(second.listen());
        EXPECT_EQ(second.errorString(), "another isolation service listens in this process");
    }
    IsolationService next(UniquePipeName(L"isolation-next"), false);
    EXPECT_TRUE(next.listen()) << "a destroyed service leaves the place free";
}

TEST(IsolationServiceTest, APipeServedElsewhereIsRefused)
{
    const QString taken = UniquePipeName(L"isolation-taken");
    const std::wstring name = taken.toStdWString();
    KO::LocalSocket::Server other(name.c_str(), 0);
    other.Listen([](KO::LOCALSOCKET::NamedPipe*) { return true; });

    IsolationService service(taken, false);
    EXPECT_FALSE(service.listen());
    EXPECT_TRUE(service.errorString().startsWith("cannot serve the pipe " + taken + ": "))
        << service.errorString().toStdString();
}

TEST(IsolationServiceTest, PipeNameComesFromTheSettingsOrIsNamedThere)
{
    const TestDirectory directory;
    const QString file = directory.FilePath("UiCommonSetting.ini");

    EXPECT_EQ(IsolationService::configuredPipeName(file), "ko-monitor-isolation");
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("Isolation/Pipe").toString(),
              "ko-monitor-isolation")
        << "the default is named for the page";

    QSettings(file, QSettings::IniFormat).setValue("Isolation/Pipe", " another-pipe ");
    EXPECT_EQ(IsolationService::configuredPipeName(file), "another-pipe");
}

TEST(IsolationServiceTest, StartsFromTheStoredState)
{
    const TestDirectory directory;
    const QString file = directory.FilePath("UiCommonSetting.ini");
    EXPECT_FALSE(IsolationService::storedIsolation(file)) << "nothing stored";
    QSettings(file, QSettings::IniFormat).setValue("Isolation/State", 1);
    EXPECT_TRUE(IsolationService::storedIsolation(file));
    QSettings(file, QSettings::IniFormat).setValue("Isolation/State", 0);
    EXPECT_FALSE(IsolationService::storedIsolation(file));
}

} // namespace
