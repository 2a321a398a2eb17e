#include "platform/nativetrayarea.h"

namespace {

// The shell's notification area is there for as long as the user's session is.
class ShellTrayArea : public NativeTrayArea
{
public:
    bool isPresent() const override { return true; }
};

} // namespace

std::unique_ptr<NativeTrayArea> NativeTrayArea::create()
{
    return std::make_unique<ShellTrayArea>();
}
