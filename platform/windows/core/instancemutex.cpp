#include "platform/windows/core/instancemutex.h"

#include <windows.h>

namespace wincore {

NamedMutex::~NamedMutex()
{
    if (m_handle)
        ::CloseHandle(m_handle);
}

std::unique_ptr<NamedMutex> AcquireNamedMutex(const std::wstring &name)
{
    HANDLE handle = ::CreateMutexW(nullptr, FALSE, name.c_str());
    const DWORD error = ::GetLastError();
    if (handle && error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(handle);
        return nullptr;
    }
    // An existing mutex this process may not open (an elevated copy's) is held all the same.
    if (!handle && error == ERROR_ACCESS_DENIED)
        return nullptr;
    return std::make_unique<NamedMutex>(handle);
}

} // namespace wincore
