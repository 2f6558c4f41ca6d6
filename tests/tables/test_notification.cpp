// Notifications with several listeners (Notification.h) and the tables'
// rows-changed and cell-changed notifications built on them.

#include "GridTable.h"
#include "Notification.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

TEST(Notification, EveryListenerInTheOrderItSubscribed)
{
    TNotification<int, int> changed;
    Calls calls;
    const TSubscription a = changed.Subscribe([&](int c, int r) { calls.push_back("a" + std::to_string(c + r)); });
    const TSubscription b = changed.Subscribe([&](int c, int r) { calls.push_back("b" + std::to_string(c * r)); });
    changed.Raise(2, 3);
    EXPECT_EQ(calls, (Calls{"a5", "b6"}));
    EXPECT_EQ(changed.ListenerCount(), 2);
}

TEST(Notification, SubscriptionLeavesWhenDestroyedResetOrMovedOver)
{
    TNotification<> changed;
    int a = 0, b = 0;
    std::optional<TSubscription> first = changed.Subscribe([&] { ++a; });
    TSubscription second = changed.Subscribe([&] { ++b; });
    changed.Raise();
    first.reset();  // the listener died
    changed.Raise();
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(changed.ListenerCount(), 1);

    // Moving hands the subscription on; the moved-from handle is empty.
    TSubscription moved = std::move(second);
    EXPECT_FALSE(second.Active());
    EXPECT_TRUE(moved.Active());
    changed.Raise();
    EXPECT_EQ(b, 3);
    // Assigning over a subscription ends the old one.
    moved = changed.Subscribe([&] { a += 10; });
    changed.Raise();
    EXPECT_EQ(a, 11);
    EXPECT_EQ(b, 3);
    moved.Reset();
    EXPECT_FALSE(moved.Active());
    EXPECT_EQ(changed.ListenerCount(), 0);
    changed.Raise();
    EXPECT_EQ(a, 11);
}

TEST(Notification, SubscriptionMayOutliveTheNotification)
{
    TSubscription kept;
    {
        TNotification<> changed;
        kept = changed.Subscribe([] {});
        EXPECT_TRUE(kept.Active());
    }
    EXPECT_FALSE(kept.Active());
    kept.Reset();  // no harm done
    const TSubscription::TBlock block(kept);
}

TEST(Notification, ListenersMayLeaveAndJoinWhileNotified)
{
    TNotification<> changed;
    Calls calls;
    TSubscription self, other, late;
    self = changed.Subscribe([&] {
        calls.push_back("self");
        self.Reset();   // itself: never again
        other.Reset();  // a later one: not even in this round
        late = changed.Subscribe([&] { calls.push_back("late"); });
    });
    other = changed.Subscribe([&] { calls.push_back("other"); });
    const TSubscription last = changed.Subscribe([&] { calls.push_back("last"); });
    changed.Raise();
    EXPECT_EQ(calls, (Calls{"self", "last"}));
    changed.Raise();
    EXPECT_EQ(calls, (Calls{"self", "last", "last", "late"}));
    EXPECT_EQ(changed.ListenerCount(), 2);
}

TEST(Notification, BlockedListenerMissesOnlyWhileBlocked)
{
    TNotification<> changed;
    int mine = 0, theirs = 0;
    const TSubscription own = changed.Subscribe([&] { ++mine; });
    const TSubscription other = changed.Subscribe([&] { ++theirs; });
    {
        const TSubscription::TBlock outer(own);
        {
            const TSubscription::TBlock inner(own);
            changed.Raise();
        }
        changed.Raise();  // still inside the outer block
        EXPECT_EQ(changed.ListenerCount(), 2);
    }
    changed.Raise();
    EXPECT_EQ(mine, 1);
    EXPECT_EQ(theirs, 3);
}

TEST(Notification, ManyShortListenersDoNotPileUp)
{
    TNotification<int> changed;
    int sum = 0;
    const TSubscription kept = changed.Subscribe([&](int v) { sum += v; });
    for (int i = 0; i < 1000; ++i) {
        const TSubscription brief = changed.Subscribe([&](int v) { sum -= v; });
        changed.Raise(1);
    }
    EXPECT_EQ(sum, 0);
    EXPECT_EQ(changed.ListenerCount(), 1);
}

// A grid and a chart beside it listen to one table.
struct Listener {
    explicit Listener(TGridTable& table)
        : Rows(table.OnRowsChanged.Subscribe([this] { Heard.push_back("rows"); })),
          Cells(table.OnCellChanged.Subscribe(
              [this](int col, int row) { Heard.push_back(std::to_string(col) + "," + std::to_string(row)); }))
    {}
    Calls Heard;
    TSubscription Rows;
    TSubscription Cells;
};

TEST(TableNotifications, SeveralListenersHearTheTableAndLeaveWhenDestroyed)
{
    TGridTable table;
    table.AddColumn<TFloatColumn>({"Depth"});
    table.SetRowCount(2);
    Listener grid(table);
    auto chart = std::make_unique<Listener>(table);
    EXPECT_EQ(table.OnRowsChanged.ListenerCount(), 2);

    table.GetData(0, 1).SetFloat(3);
    table.AppendRowGroup();
    EXPECT_EQ(grid.Heard, (Calls{"0,1", "rows"}));
    EXPECT_EQ(chart->Heard, grid.Heard);

    chart.reset();
    EXPECT_EQ(table.OnCellChanged.ListenerCount(), 1);
    table.GetData(0, 0).SetText("2*2");
    EXPECT_EQ(grid.Heard.back(), "0,0");

    // The grid mutes itself for a change of its own; others would still hear.
    {
        const TSubscription::TBlock quiet(grid.Rows);
        table.DeleteRowGroup(0);
    }
    EXPECT_EQ(grid.Heard.back(), "0,0");
    EXPECT_EQ(table.RowCount(), 2);
}

TEST(TableNotifications, ListenerMayOutliveItsTable)
{
    auto table = std::make_unique<TGridTable>();
    table->AddColumn<TFloatColumn>({"Depth"});
    Listener late(*table);
    table.reset();
    EXPECT_FALSE(late.Rows.Active());
    EXPECT_FALSE(late.Cells.Active());
}

}  // namespace
