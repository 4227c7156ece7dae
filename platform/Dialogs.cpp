#include "platform/Dialogs.h"

namespace quorvex::platform {

namespace {

// In force until a GUI or a test installs real dialogs: shows nothing, answers Cancel.
class SilentDialogs final : public Dialogs {
public:
    void showMessage(const std::string&) override {}
    bool askOkCancel(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> openFileName(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> saveFileName(const FileDialogOptions&) override { return {}; }
};

SilentDialogs g_silent;
Dialogs* g_current = &g_silent;

} // namespace

Dialogs& dialogs()
{
    return *g_current;
}

void setDialogs(Dialogs* d)
{
    g_current = d ? d : &g_silent;
}

} // namespace quorvex::platform
