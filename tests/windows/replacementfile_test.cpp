#include "platform/windows/core/replacementfile.h"
#include "tests/windows/testsupport.h"

#include <aclapi.h>
#include <fstream>
#include <gtest/gtest.h>
#include <io.h>
#include <sstream>

using namespace testing_support;

namespace {

std::string contentOf(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void writeFile(const std::filesystem::path &path, const std::string &content)
{
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::wstring> namesIn(const std::filesystem::path &directory)
{
    std::vector<std::wstring> names;
    for (const auto &entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().wstring());
    return names;
}

bool writeAll(int descriptor, const std::string &content)
{
    return ::_write(descriptor, content.data(), unsigned(content.size())) == int(content.size());
}

} // namespace

TEST(ReplacementFile, TakesTheTargetsPlaceOnlyWhenCommitted)
{
    const TemporaryDirectory directory;
    const std::filesystem::path target = directory.path() / L"config.xml";
    writeFile(target, "old");

    {
        wincore::ReplacementFile abandoned(target.wstring(), false);
        ASSERT_GE(abandoned.descriptor(), 0);
        ASSERT_TRUE(writeAll(abandoned.descriptor(), "half"));
        EXPECT_EQ(namesIn(directory.path()).size(), 2u);
    }
    EXPECT_EQ(contentOf(target), "old");
    EXPECT_EQ(namesIn(directory.path()), std::vector<std::wstring>{L"config.xml"});

    for (const std::string content : {"new", ""}) {
        wincore::ReplacementFile replacement(target.wstring(), false);
        ASSERT_GE(replacement.descriptor(), 0);
        ASSERT_TRUE(writeAll(replacement.descriptor(), content));
        EXPECT_TRUE(replacement.commit());
        EXPECT_EQ(contentOf(target), content);
        EXPECT_EQ(namesIn(directory.path()), std::vector<std::wstring>{L"config.xml"});
    }

    // A missing folder: nothing to write into, and a reason.
    wincore::ReplacementFile nowhere((directory.path() / L"no" / L"x.xml").wstring(), false);
    EXPECT_LT(nowhere.descriptor(), 0);
    EXPECT_NE(nowhere.error(), 0u);
    EXPECT_FALSE(nowhere.commit());
}

TEST(ReplacementFile, OwnerOnlyLetsTheCurrentUserAloneIn)
{
    const TemporaryDirectory directory;
    const std::filesystem::path target = directory.path() / L"config.xml";
    wincore::ReplacementFile replacement(target.wstring(), true);
    ASSERT_GE(replacement.descriptor(), 0);
    ASSERT_TRUE(replacement.commit());

    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(::GetNamedSecurityInfoW(target.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                      nullptr, nullptr, &dacl, nullptr, &descriptor),
              DWORD(ERROR_SUCCESS));
    ASSERT_NE(dacl, nullptr);
    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
    std::vector<BYTE> user(256);
    DWORD size = DWORD(user.size());
    ASSERT_TRUE(::GetTokenInformation(token, TokenUser, user.data(), size, &size));
    ::CloseHandle(token);
    PSID self = reinterpret_cast<TOKEN_USER *>(user.data())->User.Sid;
    std::vector<BYTE> systemSid(SECURITY_MAX_SID_SIZE);
    size = DWORD(systemSid.size());
    ASSERT_TRUE(::CreateWellKnownSid(WinLocalSystemSid, nullptr, systemSid.data(), &size));

    // The user has it all; nobody else is let in but the system itself, which wine names when it
    // reads the rules back from the file's mode.
    bool userAllowed = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void *ace = nullptr;
        ASSERT_TRUE(::GetAce(dacl, i, &ace));
        const auto *allowed = static_cast<ACCESS_ALLOWED_ACE *>(ace);
        if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        PSID sid = const_cast<DWORD *>(&allowed->SidStart);
        if (::EqualSid(sid, self))
            userAllowed = (allowed->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS;
        else
            EXPECT_TRUE(::EqualSid(sid, systemSid.data())) << "entry " << i << " lets others in";
    }
    EXPECT_TRUE(userAllowed);
    ::LocalFree(descriptor);
}

TEST(ReplacementFile, MoveReplacingAndStamps)
{
    const TemporaryDirectory directory;
    const std::filesystem::path store = directory.path() / L"messages.xml";
    const std::filesystem::path broken = directory.path() / L"messages.xml.broken";
    EXPECT_FALSE(wincore::StampOf(store.wstring()));
    EXPECT_EQ(wincore::MoveReplacing(store.wstring(), broken.wstring()),
              DWORD(ERROR_FILE_NOT_FOUND));

    writeFile(store, "first");
    const auto first = wincore::StampOf(store.wstring());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 5);
    EXPECT_EQ(wincore::StampOf(store.wstring())->index, first->index);

    // Set aside over an older one, which a plain rename refuses on this system.
    writeFile(broken, "older");
    EXPECT_EQ(wincore::MoveReplacing(store.wstring(), broken.wstring()), 0u);
    EXPECT_EQ(contentOf(broken), "first");
    EXPECT_FALSE(std::filesystem::exists(store));

    // A replacement is a new file, even with the same size.
    writeFile(store, "first");
    const auto before = wincore::StampOf(store.wstring());
    wincore::ReplacementFile replacement(store.wstring(), false);
    ASSERT_TRUE(writeAll(replacement.descriptor(), "again"));
    ASSERT_TRUE(replacement.commit());
    const auto after = wincore::StampOf(store.wstring());
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->size, before->size);
    EXPECT_EQ(after->volume, before->volume);
    EXPECT_NE(after->index, before->index);
}
