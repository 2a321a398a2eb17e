#include "service/requesthead.h"

#include <algorithm>
#include <charconv>

namespace {

bool isControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool isTokenChar(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F &&
           std::string_view("()<>@,;:\\\"/[]?={}").find(c) == std::string_view::npos;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x | 0x20) == (y | 0x20);
           });
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// The next line of `rest` without its line end, advancing `rest` past it.
std::string_view nextLine(std::string_view &rest)
{
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool parseRequestLine(std::string_view line, RequestHead &head)
{
    const std::size_t first = line.find(' ');
    const std::size_t last = line.rfind(' ');
    if (first == std::string_view::npos || first == last)
        return false;
    const std::string_view method = line.substr(0, first);
    const std::string_view target = line.substr(first + 1, last - first - 1);
    const std::string_view version = line.substr(last + 1);
    const bool methodOk = !method.empty() && std::all_of(method.begin(), method.end(), [](char c) {
        return c >= 'A' && c <= 'Z';
    });
    const bool targetOk =
        target.starts_with('/') &&
        std::none_of(target.begin(), target.end(), [](char c) { return c == ' ' || isControl(c); });
    const bool versionOk = version.size() == 8 && version.starts_with("HTTP/1.") &&
                           version[7] >= '0' && version[7] <= '9';
    if (!methodOk || !targetOk || !versionOk)
        return false;
    head.method = method;
    head.target = target;
    return true;
}

} // namespace

HeadStatus ParseRequestHead(std::string_view received, const RequestLimits &limits,
                            RequestHead &head)
{
    // The head ends at the first empty line, whichever line ends the sender used.
    std::size_t end = std::string_view::npos;
    for (std::size_t at = received.find('\n'); at != std::string_view::npos;
         at = received.find('\n', at + 1)) {
        if (at + 1 < received.size() && received[at + 1] == '\n') {
            end = at + 2;
            break;
        }
        if (at + 2 < received.size() && received[at + 1] == '\r' && received[at + 2] == '\n') {
            end = at + 3;
            break;
        }
    }
    if (end == std::string_view::npos)
        return received.size() > limits.maxHeadBytes ? HeadStatus::HeadTooLarge
                                                     : HeadStatus::Incomplete;
    if (end > limits.maxHeadBytes)
        return HeadStatus::HeadTooLarge;

    head = RequestHead();
    head.headBytes = end;
    std::string_view rest = received.substr(0, end);
    if (!parseRequestLine(nextLine(rest), head))
        return HeadStatus::Malformed;
    bool haveLength = false;
    for (std::string_view line = nextLine(rest); !line.empty(); line = nextLine(rest)) {
        const std::size_t colon = line.find(':');
        if (colon == 0 || colon == std::string_view::npos)
            return HeadStatus::Malformed;
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (!std::all_of(name.begin(), name.end(), isTokenChar) ||
            std::any_of(value.begin(), value.end(),
                        [](char c) { return c != '\t' && isControl(c); }))
            return HeadStatus::Malformed;
        if (equalsIgnoringCase(name, "Transfer-Encoding"))
            return HeadStatus::Unsupported;
        if (equalsIgnoringCase(name, "Content-Length")) {
            std::size_t length = 0;
            const auto [stop, error] =
                std::from_chars(value.data(), value.data() + value.size(), length);
            // Plain digits only, and one length: two could be read differently on the way.
            if (value.empty() || error != std::errc() || stop != value.data() + value.size() ||
                (haveLength && length != head.contentLength))
                return error == std::errc::result_out_of_range ? HeadStatus::BodyTooLarge
                                                               : HeadStatus::Malformed;
            haveLength = true;
            head.contentLength = length;
        }
        head.headers.emplace_back(name, value);
    }
    if (head.contentLength > limits.maxBodyBytes)
        return HeadStatus::BodyTooLarge;
    return HeadStatus::Complete;
}

std::string DecodedPath(std::string_view target)
{
    const std::string_view path = target.substr(0, target.find('?'));
    const auto hex = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    std::string decoded;
    decoded.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '%' && i + 2 < path.size() && hex(path[i + 1]) >= 0 &&
            hex(path[i + 2]) >= 0) {
            decoded += char(hex(path[i + 1]) * 16 + hex(path[i + 2]));
            i += 2;
        } else {
            decoded += path[i];
        }
    }
    return decoded;
}
