#include "core/intervaltimer.h"

#include <QEventLoop>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// Each timer is enabled at 0, changed at 250, passes a mark at 560 and logs t(ick), c(hange) and
// m(ark) until 900. A 400 ms countdown kept from 0 ticks at 400, before the mark; one restarted at
// 250 ticks after it. Overdue timers fire in the order they were due, even on a loaded machine.
TEST(IntervalTimer, ChangePartWayThroughAnInterval)
{
    using Change = std::function<void(IntervalTimer &)>;
    const std::tuple<const char *, int, Change, std::string> cases[] = {
        {"same interval", 400, [](IntervalTimer &t) { t.setInterval(400); }, "ctmt"},
        {"new interval", 400, [](IntervalTimer &t) { t.setInterval(500); }, "cmt"},
        {"enable when enabled", 400, [](IntervalTimer &t) { t.setEnabled(true); }, "ctmt"},
        {"disable, enable", 400,
         [](IntervalTimer &t) {
             t.setEnabled(false);
             t.setEnabled(true);
         },
         "cmt"},
        {"interval 0", 0, [](IntervalTimer &) {}, "cm"},
        {"back to interval 0", 50, [](IntervalTimer &t) { t.setInterval(0); }, "cm"},
        {"disable", 50, [](IntervalTimer &t) { t.setEnabled(false); }, "cm"},
    };
    QEventLoop loop;
    std::vector<std::unique_ptr<IntervalTimer>> timers;
    std::vector<std::string> events(std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        IntervalTimer &timer = *timers.emplace_back(std::make_unique<IntervalTimer>());
        timer.setOnTick([&events, i] { events[i] += 't'; });
        timer.setInterval(std::get<1>(cases[i]));
        timer.setEnabled(true);
        QTimer::singleShot(250, Qt::PreciseTimer, &loop, [&, i] {
            events[i] += 'c';
            std::get<2>(cases[i])(*timers[i]);
        });
        QTimer::singleShot(560, Qt::PreciseTimer, &loop, [&, i] { events[i] += 'm'; });
    }
    QTimer::singleShot(900, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();

    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto &[name, interval, change, after] = cases[i];
        const size_t at = events[i].find('c');
        // Only the 50 ms timers tick before the change.
        EXPECT_EQ(at > 0, interval == 50) << name << ": " << events[i];
        EXPECT_EQ(events[i].substr(at), after) << name;
    }
}
