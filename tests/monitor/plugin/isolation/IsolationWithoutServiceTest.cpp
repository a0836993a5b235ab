// Changes of the switch when no service serves the named pipe: the switch
// turns back, a notice says so, and the stored state stays as it was.

#include "IsolationHost.h"

using namespace IsolationHost;

namespace {

struct Change
{
    const char* name; // "on" or "off"
    std::optional<int> stored;
    int startFrame;
    const char* outcome;
};

TEST_F(IsolationTest, ChangesWithoutServiceTurnBackAndSaySo)
{
    const Change changes[] = {
        {"on", std::nullopt, kFrameOff, "could not be reached; the switch is back off."},
        {"off", 1, kFrameOn, "could not be reached; the switch is back on."},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        Configure(m_pipe, change.stored);
        const Host host;
        QWidget* switchButton = Switch(host.page());
        ASSERT_NE(switchButton, nullptr);
        ASSERT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, change.startFrame); }));

        const BoxAnswers answers;
        Click(switchButton);
        const std::size_t boxes = change.stored.has_value() ? 1 : 2;
        ASSERT_TRUE(WaitFor([&] {
            return answers.boxes().size() == boxes && Clickable(switchButton);
        })) << "turning on asks first; then the notice";
        if (boxes == 2) {
            EXPECT_EQ(answers.boxes().front().message, QString::fromUtf8(kConfirmation));
            EXPECT_TRUE(answers.boxes().front().rejectShown);
        }
        EXPECT_EQ(answers.boxes().back().message, QString::fromUtf8(kServiceUnreachable));
        EXPECT_FALSE(answers.boxes().back().rejectShown) << "a notice has one button";
        EXPECT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, change.startFrame); }))
            << "the switch is back where it was";
        EXPECT_EQ(StoredState(), change.stored) << "the stored state stays";
        EXPECT_EQ(CountNewLogLines(OutcomeLine(change.name, m_pipe, change.outcome)), 1);

        const Host next;
        QWidget* nextSwitch = Switch(next.page());
        ASSERT_NE(nextSwitch, nullptr);
        EXPECT_TRUE(WaitFor([&] { return ShowsFrame(nextSwitch, change.startFrame); }));
    }
}

} // namespace
