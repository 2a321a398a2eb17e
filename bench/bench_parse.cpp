// How long the client takes to read (or refuse) the worst answers a hostile network can send, up
// to the answer size bound: the answer, then its message list as the store reads it.
#include "core/xmldocument.h"
#include "protocol/serviceanswer.h"
#include "tests/support/hostiledocuments.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr qsizetype kAnswerBound = 1024 * 1024;
constexpr int kRuns = 5;

// "parsed" or "refused", as the keep-alive would find the answer.
const char *readAnswer(const QByteArray &bytes)
{
    try {
        const TServiceAnswer answer(bytes);
        return XmlDocument::fromUnicode(answer.MessageList(), XmlDocument::Source::Network)
                   ? "parsed"
                   : "list refused";
    } catch (const XmlReadError &) {
        return "refused";
    }
}

} // namespace

int main()
{
    double worst = 0;
    for (const auto &[name, bytes] : hostile::documents(kAnswerBound)) {
        double best = 1e9;
        const char *outcome = "";
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer clock;
            clock.start();
            outcome = readAnswer(bytes);
            best = std::min(best, double(clock.nsecsElapsed()) / 1e6);
        }
        worst = std::max(worst, best);
        std::printf("parse: %-40s %7lld bytes %8.2f ms (%s)\n", name,
                    static_cast<long long>(bytes.size()), best, outcome);
    }
    std::printf("parse: worst hostile answer up to %lld bytes: %.2f ms (target under 100 ms)\n",
                static_cast<long long>(kAnswerBound), worst);
    return 0;
}
