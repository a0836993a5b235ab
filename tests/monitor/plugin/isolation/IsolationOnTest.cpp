// Turning isolation on with the service there: the service gets the message,
// the state is stored, and the next page starts with the switch on.

#include "IsolationHost.h"

#include <QSignalSpy>

using namespace IsolationHost;

namespace {

TEST_F(IsolationTest, TurningOnTellsTheServiceAndIsRemembered)
{
    const PipeService service(m_pipe);
    Configure(m_pipe, std::nullopt);
    {
        const Host host;
        QWidget* switchButton = Switch(host.page());
        ASSERT_NE(switchButton, nullptr);
        ASSERT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOff); }))
            << "no state stored: the switch starts off";

        const BoxAnswers answers;
        Click(switchButton);
        ASSERT_TRUE(WaitFor([&] { return service.messages().size() == 1; }));
        EXPECT_EQ(service.messages().front(), Utf16Le(kMessageOn));
        ASSERT_TRUE(WaitFor([&] { return Clickable(switchButton); }))
            << "the switch takes clicks again once the service answered";
        EXPECT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOn); }));
        EXPECT_EQ(StoredState(), 1);
        ASSERT_EQ(answers.boxes().size(), 1u) << "the confirmation only";
        EXPECT_EQ(answers.boxes()[0].message, QString::fromUtf8(kConfirmation));
        EXPECT_EQ(CountNewLogLines(OutcomeLine("on", m_pipe, "was told.")), 1);
    }

    // The next page shows the stored state as it is: on, without animation,
    // confirmation or message.
    const ModalWatch asked([](QDialog& box) { box.reject(); });
    const Host next;
    QWidget* switchButton = Switch(next.page());
    ASSERT_NE(switchButton, nullptr);
    EXPECT_TRUE(ShowsFrame(switchButton, kFrameOn));
    EXPECT_FALSE(asked.seen());
    EXPECT_TRUE(Clickable(switchButton));
    EXPECT_EQ(service.messages().size(), 1u);
}

} // namespace
