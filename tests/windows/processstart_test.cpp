#include "platform/windows/core/consoleclose.h"
#include "platform/windows/core/instancemutex.h"
#include "platform/windows/core/processstart.h"
#include "platform/windows/core/systemsettings.h"
#include "tests/windows/testsupport.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

constexpr unsigned long kStartTimeoutMs = 60000;

const std::wstring recorder = (ProgramDirectory() / L"recordstart.exe").wstring();

// What the started program saw, once it has ended.
std::wstring recorded(const wincore::StartedProcess &process, const StartRecord &record)
{
    if (!process.waitForExit(kStartTimeoutMs))
        return L"(not started or not ended)";
    return record.read();
}

} // namespace

TEST(ProcessStart, OpenUrlRunsTheBrowserCommandWithTheAddressRestored)
{
    const struct
    {
        std::wstring url, argument;
    } cases[] = {
        {L"http://host/p?a=1&b=2", L"http://host/p?a=1&b=2"},
        {L" HTTPS://host/ ", L"HTTPS://host/"},
        {L"host/~id", L"http://host/~id"},
        {L"host:8080/~id", L"http://host:8080/~id"},
        {L"http://host/a\" --evil \"b", L"http://host/a%22%20--evil%20%22b"},
    };
    for (const auto &row : cases) {
        const StartRecord record;
        const auto process = wincore::OpenURL(recorder + L" --new-window", row.url);
        EXPECT_EQ(recorded(process, record), L"9|" + recorder + L" --new-window " + row.argument);
    }
}

TEST(ProcessStart, OpenUrlRefusesWhatIsNotAWebAddress)
{
    for (const wchar_t *url : {L"file:///C:/Windows/win.ini", L"javascript:alert(1)",
                               L"-new-window", L"", L"cmd:/c calc"}) {
        const StartRecord record;
        EXPECT_FALSE(wincore::OpenURL(recorder, url).started()) << url;
        EXPECT_FALSE(wincore::OpenURL(L"", url).started()) << url;
    }
}

TEST(ProcessStart, RegisteredBrowserCommandOpensTheAddressUnquoted)
{
    REQUIRE_PRIVATE_REGISTRY();
    SetText(HKEY_CLASSES_ROOT, wincore::kBrowserCommandKey, nullptr,
            L"\"" + recorder + L"\" -nohome \"%1\"");
    const std::wstring command = wincore::LookupProxyAndBrowser().browserCommand;
    EXPECT_EQ(command, recorder + L" -nohome");
    const StartRecord record;
    EXPECT_EQ(recorded(wincore::OpenURL(command, L"http://host/~id"), record),
              L"9|" + recorder + L" -nohome http://host/~id");
}

// Browsers live under "C:\\Program Files": the command, quotes removed, still starts that program.
TEST(ProcessStart, BrowserInAPathWithBlanksIsStarted)
{
    const TemporaryDirectory directory;
    const std::filesystem::path browser = directory.path() / L"Program Files" / L"Web Browser.exe";
    std::filesystem::create_directories(browser.parent_path());
    std::filesystem::copy_file(recorder, browser);
    const StartRecord record;
    EXPECT_EQ(recorded(wincore::OpenURL(browser.wstring() + L" -nohome", L"http://host/"), record),
              L"9|\"" + browser.wstring() + L"\" -nohome http://host/");
}

TEST(ProcessStart, WithoutABrowserCommandTheSystemsHandlerOpensTheAddress)
{
    REQUIRE_PRIVATE_REGISTRY();
    SetText(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr,
            L"\"" + recorder + L"\" \"%1\"");
    const StartRecord record;
    const std::wstring seen = recorded(wincore::OpenURL(L"", L"http://host/~id"), record);
    EXPECT_EQ(seen.substr(0, 2), L"9|") << seen;
    EXPECT_NE(seen.find(L"http://host/~id"), std::wstring::npos) << seen;
}

TEST(ProcessStart, LogFileOpensInNotepadWithItsWholePath)
{
    const TemporaryDirectory directory;
    const std::filesystem::path blanks = directory.path() / L"Marbello XP" / L"log" / L"log.txt";
    // Far longer than the 108 characters a command line was once cut to.
    const std::filesystem::path longPath =
        directory.path() / std::wstring(60, L'a') / std::wstring(60, L'b') / L"log.txt";
    for (const auto &[path, argument] :
         {std::pair{blanks, L"\"" + blanks.wstring() + L"\""}, {longPath, longPath.wstring()}}) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "start\n";
        const StartRecord record;
        EXPECT_EQ(recorded(wincore::OpenLogFile(path.wstring()), record), L"5|notepad " + argument);
    }
    EXPECT_FALSE(wincore::OpenLogFile((directory.path() / L"missing.txt").wstring()).started());
    EXPECT_FALSE(wincore::OpenLogFile(directory.path().wstring()).started());
}

TEST(InstanceMutex, ASecondMutexReportsAnotherCopyUntilTheFirstIsReleased)
{
    auto first = wincore::AcquireNamedMutex(L"ClientService");
    ASSERT_TRUE(first);
    EXPECT_FALSE(wincore::AcquireNamedMutex(L"ClientService"));
    EXPECT_TRUE(wincore::AcquireNamedMutex(L"ClientService-other"));
    first.reset();
    EXPECT_TRUE(wincore::AcquireNamedMutex(L"ClientService"));
}

TEST(ConsoleClose, CtrlCIsReported)
{
    const HANDLE reported = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        const wincore::ConsoleCloseWatch watch([reported] { ::SetEvent(reported); });
        // Wine's console of a program started from a pipe takes no Ctrl+C: use one of its own.
        if (!::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) &&
            !(::FreeConsole() && ::AllocConsole() && ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)))
            GTEST_SKIP() << "no console to send Ctrl+C to: error " << ::GetLastError();
        EXPECT_EQ(::WaitForSingleObject(reported, kStartTimeoutMs), WAIT_OBJECT_0);
    }
    ::CloseHandle(reported);
}
