#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The head of one HTTP/1.x request as the service accepts it.
struct RequestHead
{
    std::string method;
    std::string target; // raw, as sent: the handlers decode its query themselves
    std::vector<std::pair<std::string, std::string>> headers;
    std::size_t headBytes = 0; // up to and including the empty line
    std::size_t contentLength = 0;
};

struct RequestLimits
{
    std::size_t maxHeadBytes = 16 * 1024;
    std::size_t maxBodyBytes = 64 * 1024;
};

enum class HeadStatus {
    Incomplete,   // no empty line yet, and still within the limit
    Complete,     // `head` is filled in
    Malformed,    // 400
    HeadTooLarge, // 431
    BodyTooLarge, // 413
    Unsupported,  // 501: a body in a transfer coding
};

// Reads the head of a request from the bytes received so far. Lines may end in CR LF or LF. The
// request line must be "METHOD /target HTTP/1.x"; no byte of the target and no header line may be
// a control byte (tab aside in values); a body is announced by one Content-Length of plain digits.
HeadStatus ParseRequestHead(std::string_view received, const RequestLimits &limits,
                            RequestHead &head);

// The path of a raw target (the part before "?"), each %XX decoded once.
std::string DecodedPath(std::string_view target);
