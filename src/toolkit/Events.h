#pragma once
// Events are plain callbacks assigned by the owner; a missing handler is simply not called.

#include <QObject>
#include <functional>

using TObject = QObject;
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Calls an event if it is assigned.
template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args)
{
    if (event)
        event(std::forward<Args>(args)...);
}
