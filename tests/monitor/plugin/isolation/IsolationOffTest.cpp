// Turning isolation off from a stored "on": no confirmation, the service
// gets the message and the state is stored.

#include "IsolationHost.h"

using namespace IsolationHost;

namespace {

TEST_F(IsolationTest, TurningOffTellsTheServiceWithoutAsking)
{
    const PipeService service(m_pipe);
    Configure(m_pipe, 1);
    const Host host;
    QWidget* switchButton = Switch(host.page());
    ASSERT_NE(switchButton, nullptr);
    ASSERT_TRUE(ShowsFrame(switchButton, kFrameOn)) << "the stored state";

    const BoxAnswers answers;
    Click(switchButton);
    ASSERT_TRUE(WaitFor([&] { return service.messages().size() == 1; }));
    EXPECT_EQ(service.messages().front(), Utf16Le(kMessageOff));
    ASSERT_TRUE(WaitFor([&] { return Clickable(switchButton); }));
    EXPECT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOff); }));
    EXPECT_EQ(StoredState(), 0);
    EXPECT_TRUE(answers.boxes().empty()) << "turning off asks nothing";
    EXPECT_EQ(CountNewLogLines(OutcomeLine("off", m_pipe, "was told.")), 1);
}

} // namespace
