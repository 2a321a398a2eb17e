#pragma once

#include <memory>
#include <string>

namespace wincore {

// A named system mutex, held from creation until the object goes.
class NamedMutex
{
public:
    explicit NamedMutex(void *handle) : m_handle(handle) {}
    NamedMutex(const NamedMutex &) = delete;
    NamedMutex &operator=(const NamedMutex &) = delete;
    ~NamedMutex();

private:
    void *m_handle;
};

// Creates the mutex `name` (not owned). Nothing when it already existed, that is when another
// copy of the program holds it. When the system gives no mutex at all the program runs
// unguarded rather than not at all.
std::unique_ptr<NamedMutex> AcquireNamedMutex(const std::wstring &name);

} // namespace wincore
