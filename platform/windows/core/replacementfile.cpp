#include "platform/windows/core/replacementfile.h"

#include <fcntl.h>
#include <io.h>
#include <random>
#include <vector>
#include <windows.h>

namespace wincore {
namespace {

// Only the current user, and nothing inherited from the folder: the Windows form of mode 0600.
class OwnerOnlySecurity
{
public:
    OwnerOnlySecurity()
    {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
            return;
        DWORD size = 0;
        ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        m_user.resize(size);
        const bool haveUser =
            size > 0 && ::GetTokenInformation(token, TokenUser, m_user.data(), size, &size);
        ::CloseHandle(token);
        if (!haveUser)
            return;
        PSID sid = reinterpret_cast<TOKEN_USER *>(m_user.data())->User.Sid;
        const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(sid);
        m_acl.resize(aclSize);
        PACL acl = reinterpret_cast<PACL>(m_acl.data());
        m_valid =
            ::InitializeAcl(acl, aclSize, ACL_REVISION) &&
            ::AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) &&
            ::InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) &&
            ::SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE) &&
            ::SetSecurityDescriptorControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
        m_attributes = {sizeof(m_attributes), &m_descriptor, FALSE};
    }
    // Null when the rules could not be built; the caller then makes no file at all.
    SECURITY_ATTRIBUTES *attributes() { return m_valid ? &m_attributes : nullptr; }

private:
    std::vector<BYTE> m_user;
    std::vector<BYTE> m_acl;
    SECURITY_DESCRIPTOR m_descriptor = {};
    SECURITY_ATTRIBUTES m_attributes = {};
    bool m_valid = false;
};

std::wstring randomSuffix(std::mt19937_64 &random)
{
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring suffix = L".new-";
    for (unsigned long long bits = random(); suffix.size() < 17; bits >>= 4)
        suffix += kDigits[bits & 15];
    return suffix;
}

} // namespace

ReplacementFile::ReplacementFile(const std::wstring &target, bool ownerOnly) : m_target(target)
{
    std::optional<OwnerOnlySecurity> security;
    if (ownerOnly && !security.emplace().attributes()) {
        m_error = ::GetLastError();
        return;
    }
    SECURITY_ATTRIBUTES *attributes = security ? security->attributes() : nullptr;
    std::mt19937_64 random(std::random_device{}());
    HANDLE handle = INVALID_HANDLE_VALUE;
    // A name already taken (a file left by a killed writer) is passed over.
    for (int attempt = 0; attempt < 16 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        m_path = target + randomSuffix(random);
        handle = ::CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, attributes, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        m_error = handle == INVALID_HANDLE_VALUE ? ::GetLastError() : 0;
        if (m_error != 0 && m_error != ERROR_FILE_EXISTS)
            break;
    }
    if (handle == INVALID_HANDLE_VALUE)
        return;
    m_descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (m_descriptor < 0) {
        m_error = ERROR_TOO_MANY_OPEN_FILES;
        ::CloseHandle(handle);
        ::DeleteFileW(m_path.c_str());
    }
}

ReplacementFile::~ReplacementFile()
{
    discard();
}

bool ReplacementFile::commit()
{
    if (m_descriptor < 0)
        return false;
    const bool flushed =
        ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(m_descriptor)));
    m_error = flushed ? 0 : ::GetLastError();
    ::_close(m_descriptor);
    m_descriptor = -1;
    if (flushed && (m_error = MoveReplacing(m_path, m_target)) == 0) {
        m_path.clear();
        return true;
    }
    discard();
    return false;
}

void ReplacementFile::discard()
{
    if (m_descriptor >= 0)
        ::_close(m_descriptor);
    m_descriptor = -1;
    if (!m_path.empty())
        ::DeleteFileW(m_path.c_str());
    m_path.clear();
}

unsigned long MoveReplacing(const std::wstring &from, const std::wstring &to)
{
    return ::MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : ::GetLastError();
}

std::optional<FileStamp> StampOf(const std::wstring &path)
{
    // Attributes only, with every sharing mode: a writer holding the file open does not hide it.
    HANDLE handle = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info = {};
    const bool known = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    if (!known)
        return std::nullopt;
    const auto join = [](DWORD high, DWORD low) {
        return (static_cast<unsigned long long>(high) << 32) | low;
    };
    return FileStamp{info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
                     static_cast<long long>(join(info.nFileSizeHigh, info.nFileSizeLow)),
                     static_cast<long long>(join(info.ftLastWriteTime.dwHighDateTime,
                                                 info.ftLastWriteTime.dwLowDateTime))};
}

} // namespace wincore
