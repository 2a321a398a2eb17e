#include "platform/windows/core/systemsettings.h"

#include "platform/windows/core/registrykey.h"
#include "platform/windows/core/textrules.h"

namespace wincore {

ProxyAndBrowser LookupProxyAndBrowser()
{
    ProxyAndBrowser found;
    {
        const RegistryKey settings =
            RegistryKey::openForReading(HKEY_CURRENT_USER, kInternetSettingsKey, true);
        if (settings.readInteger(L"ProxyEnable").value_or(0) != 0) {
            const ProxyServer proxy =
                ParseProxyServer(settings.readText(L"ProxyServer").value_or(std::wstring()));
            found.proxyHost = proxy.host;
            found.proxyPort = proxy.port;
        }
    }
    const RegistryKey browser =
        RegistryKey::openForReading(HKEY_CLASSES_ROOT, kBrowserCommandKey, true);
    found.browserCommand = CleanBrowserCommand(browser.readText(nullptr).value_or(std::wstring()));
    return found;
}

std::wstring ExecutableFileName(const std::wstring &executablePath)
{
    const std::size_t separator = executablePath.find_last_of(L"\\/");
    return separator == std::wstring::npos ? executablePath : executablePath.substr(separator + 1);
}

AutoRunOutcome UpdateAutoRunEntry(const std::wstring &executablePath, bool autoRun)
{
    const RegistryKey run = RegistryKey::openForWriting(HKEY_LOCAL_MACHINE, kRunKey);
    const std::wstring name = ExecutableFileName(executablePath);
    const bool done =
        autoRun ? run.writeText(name.c_str(), executablePath) : run.deleteValue(name.c_str());
    return done ? AutoRunOutcome::Updated : AutoRunOutcome::Unchanged;
}

} // namespace wincore
