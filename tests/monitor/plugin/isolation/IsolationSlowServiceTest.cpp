// A service that takes seconds to read: the page goes on working while the
// message waits, and its switch takes no clicks until the answer.

#include "IsolationHost.h"

#include <QRadioButton>
#include <QSignalSpy>

using namespace IsolationHost;

namespace {

TEST_F(IsolationTest, TheGuiStaysResponsiveWhileTheServiceIsSlow)
{
    PipeService service(m_pipe, PipeService::Reading::Held);
    Configure(m_pipe, std::nullopt);
    const Host host;
    QWidget* switchButton = Switch(host.page());
    ASSERT_NE(switchButton, nullptr);
    QSignalSpy clicked(switchButton, SIGNAL(clicked(bool)));

    const BoxAnswers answers;
    Click(switchButton);
    ASSERT_TRUE(WaitFor([&] { return service.holding(); }));

    // The message is held unread: the page still takes input.
    EXPECT_EQ(switchButton->cursor().shape(), Qt::BusyCursor);
    Click(switchButton);
    EXPECT_EQ(clicked.count(), 1) << "a busy switch takes no click";
    QList<QRadioButton*> radios = host.page().findChildren<QRadioButton*>();
    std::sort(radios.begin(), radios.end(),
              [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
    ASSERT_EQ(radios.size(), 2);
    Click(radios[1]);
    QWidget* byType = FindOne(&host.page(), "ControlByClassWidget");
    ASSERT_NE(byType, nullptr);
    EXPECT_TRUE(WaitFor([&] { return byType->isVisible(); }));
    EXPECT_TRUE(service.holding()) << "all of it while the service held the message";
    EXPECT_FALSE(StoredState().has_value());

    service.release();
    ASSERT_TRUE(WaitFor([&] { return Clickable(switchButton); }));
    ASSERT_TRUE(WaitFor([&] { return service.messages().size() == 1; }));
    EXPECT_EQ(service.messages().front(), Utf16Le(kMessageOn));
    EXPECT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOn); }));
    EXPECT_EQ(StoredState(), 1);
    EXPECT_EQ(answers.boxes().size(), 1u) << "the confirmation only";
}

} // namespace
