#pragma once

// Notifications with any number of listeners, for the tables' rows-changed
// and cell-changed (GridTable.h) and whatever else wants to be listened to.
//
// A listener subscribes and keeps the subscription for as long as it wants
// to hear; the subscription is a handle that unsubscribes when it is
// destroyed. Kept as a member of the listening object, it makes the object
// leave when it dies, without any code of its own:
//
//   class TSideView {
//       ...
//       TSubscription FRows = FTable.OnRowsChanged.Subscribe([this] { Redraw(); });
//       TSubscription FCells =
//           FTable.OnCellChanged.Subscribe([this](int col, int row) { RedrawCell(col, row); });
//   };
//
// Rules:
// - Listeners are called in the order they subscribed.
// - A listener may subscribe and unsubscribe (itself or others) while it is
//   being notified: one that unsubscribes is not called again, not even
//   later in the same round; one that subscribes is first called by the next
//   notification.
// - A subscription may outlive its notification; it is then inert. A
//   listener must not destroy the notifying object from inside a call.
// - To not hear its own changes for a while, a listener blocks its own
//   subscription; the other listeners are still told:
//       {
//           const TSubscription::TBlock quiet(FRows);
//           FTable.AppendRowGroup();
//       }
//       Refresh();

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace notification_detail {

struct TListenerState {
    virtual ~TListenerState() = default;
    bool Subscribed = true;
    int Blocks = 0;
};

}  // namespace notification_detail

// The handle of one listener's subscription. Move-only; an empty one (made
// by default, moved from or reset) stands for no subscription.
class TSubscription {
public:
    TSubscription() = default;
    explicit TSubscription(std::weak_ptr<notification_detail::TListenerState> state) : FState(std::move(state)) {}
    ~TSubscription() { Reset(); }
    TSubscription(TSubscription&& other) noexcept : FState(std::move(other.FState)) { other.FState.reset(); }
    TSubscription& operator=(TSubscription&& other) noexcept
    {
        if (this != &other) {
            Reset();
            FState = std::move(other.FState);
            other.FState.reset();
        }
        return *this;
    }
    TSubscription(const TSubscription&) = delete;
    TSubscription& operator=(const TSubscription&) = delete;

    // Unsubscribes; the listener is not called again.
    void Reset()
    {
        if (const auto state = FState.lock())
            state->Subscribed = false;
        FState.reset();
    }
    // Subscribed to a notification that still exists.
    bool Active() const
    {
        const auto state = FState.lock();
        return state && state->Subscribed;
    }

    // Keeps the listener from being called for its lifetime; blocks nest.
    class TBlock {
    public:
        explicit TBlock(const TSubscription& subscription) : FState(subscription.FState.lock())
        {
            if (FState)
                ++FState->Blocks;
        }
        ~TBlock()
        {
            if (FState)
                --FState->Blocks;
        }
        TBlock(const TBlock&) = delete;
        TBlock& operator=(const TBlock&) = delete;

    private:
        std::shared_ptr<notification_detail::TListenerState> FState;
    };

private:
    std::weak_ptr<notification_detail::TListenerState> FState;
};

// A notification passing `Args` to every listener.
template <class... Args>
class TNotification {
public:
    using TListener = std::function<void(Args...)>;

    TNotification() = default;
    TNotification(const TNotification&) = delete;
    TNotification& operator=(const TNotification&) = delete;

    // The listener is called by every Raise until the returned subscription
    // is destroyed or reset. Dropping the result unsubscribes at once.
    [[nodiscard]] TSubscription Subscribe(TListener listener)
    {
        if (FRaising == 0)
            Compact();
        auto entry = std::make_shared<TEntry>();
        entry->Listener = std::move(listener);
        FEntries.push_back(entry);
        return TSubscription(entry);
    }

    // Calls every subscribed, unblocked listener.
    void Raise(Args... args)
    {
        ++FRaising;
        struct TDone {
            TNotification& Owner;
            ~TDone()
            {
                if (--Owner.FRaising == 0)
                    Owner.Compact();
            }
        } done{*this};
        // Listeners that subscribe meanwhile are appended behind `count`.
        const std::size_t count = FEntries.size();
        for (std::size_t i = 0; i < count; ++i) {
            const std::shared_ptr<TEntry> entry = FEntries[i];
            if (entry->Subscribed && entry->Blocks == 0 && entry->Listener)
                entry->Listener(args...);
        }
    }

    // Listeners subscribed now (blocked ones included).
    int ListenerCount() const
    {
        int count = 0;
        for (const auto& entry : FEntries)
            count += entry->Subscribed ? 1 : 0;
        return count;
    }

private:
    struct TEntry : notification_detail::TListenerState {
        TListener Listener;
    };

    // Forgets the listeners that have unsubscribed; never while raising, when
    // the round walks the list by position.
    void Compact()
    {
        std::erase_if(FEntries, [](const std::shared_ptr<TEntry>& entry) { return !entry->Subscribed; });
    }

    std::vector<std::shared_ptr<TEntry>> FEntries;
    int FRaising = 0;
};
