// Turning isolation on when no service serves the named pipe: the switch
// turns back, a notice says so, and nothing is stored.

#include "IsolationHost.h"

using namespace IsolationHost;

namespace {

TEST_F(IsolationTest, TurningOnWithoutServiceTurnsBackAndSaysSo)
{
    Configure(m_pipe, std::nullopt);
    const Host host;
    QWidget* switchButton = Switch(host.page());
    ASSERT_NE(switchButton, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOff); }));

    const BoxAnswers answers;
    Click(switchButton);
    ASSERT_TRUE(WaitFor([&] { return answers.boxes().size() == 2 && Clickable(switchButton); }))
        << "the confirmation, then the notice";
    EXPECT_EQ(answers.boxes()[0].message, QString::fromUtf8(kConfirmation));
    EXPECT_TRUE(answers.boxes()[0].rejectShown);
    EXPECT_EQ(answers.boxes()[1].message, QString::fromUtf8(kServiceUnreachable));
    EXPECT_FALSE(answers.boxes()[1].rejectShown) << "a notice has one button";
    EXPECT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOff); }))
        << "the switch is back off";
    EXPECT_FALSE(StoredState().isValid()) << "nothing stored";
    EXPECT_EQ(CountNewLogLines(
                  OutcomeLine("on", m_pipe, "could not be reached; the switch is back off.")),
              1);

    const Host next;
    QWidget* nextSwitch = Switch(next.page());
    ASSERT_NE(nextSwitch, nullptr);
    EXPECT_TRUE(WaitFor([&] { return ShowsFrame(nextSwitch, kFrameOff); }));
}

} // namespace
