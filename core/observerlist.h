#pragma once

#include <functional>
#include <utility>
#include <vector>

// Callbacks to tell of a change. A handler may add or remove handlers while it is being told.
template <typename T> class ObserverList
{
public:
    using Handler = std::function<void(T)>;

    // An id for remove().
    int add(Handler handler)
    {
        m_handlers.emplace_back(++m_lastId, std::move(handler));
        return m_lastId;
    }
    void remove(int id)
    {
        std::erase_if(m_handlers, [id](const auto &entry) { return entry.first == id; });
    }
    void notify(T value) const
    {
        const auto handlers = m_handlers;
        for (const auto &[id, handler] : handlers)
            handler(value);
    }

private:
    std::vector<std::pair<int, Handler>> m_handlers;
    int m_lastId = 0;
};
