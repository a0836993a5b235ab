// A page destroyed while its message is under way: the sending thread
// finishes on its own, stores what it delivered, and calls into nothing.

#include "IsolationHost.h"

using namespace IsolationHost;

namespace {

TEST_F(IsolationTest, APageDestroyedWhileSendingIsSafe)
{
    PipeService service(m_pipe, PipeService::Reading::Held);
    Configure(m_pipe, std::nullopt);
    auto host = std::make_unique<Host>();
    {
        QWidget* switchButton = Switch(host->page());
        ASSERT_NE(switchButton, nullptr);
        const BoxAnswers answers;
        Click(switchButton);
        ASSERT_TRUE(WaitFor([&] { return service.holding(); }));
    }
    host.reset();

    service.release();
    ASSERT_TRUE(WaitFor([&] { return service.messages().size() == 1; }));
    EXPECT_EQ(service.messages().front(), Utf16Le(kMessageOn));
    EXPECT_TRUE(WaitFor([&] {
        return CountNewLogLines(OutcomeLine("on", m_pipe, "was told.")) == 1;
    })) << "the outcome is logged without the page";
    EXPECT_EQ(StoredState(), 1) << "the delivered state is stored";
    QCoreApplication::sendPostedEvents();

    const Host next;
    QWidget* switchButton = Switch(next.page());
    ASSERT_NE(switchButton, nullptr);
    EXPECT_TRUE(ShowsFrame(switchButton, kFrameOn));
}

} // namespace
