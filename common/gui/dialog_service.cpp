#include "common/gui/dialog_service.hpp"

#include "common/gui/qt_dialogs.hpp"

namespace dot11b::gui {
namespace {

std::unique_ptr<DialogService>& current() {
    static std::unique_ptr<DialogService> service = std::make_unique<QtDialogs>();
    return service;
}

}  // namespace

DialogService& dialogs() { return *current(); }

std::unique_ptr<DialogService> install_dialogs(std::unique_ptr<DialogService> service) {
    std::swap(current(), service);
    return service;
}

}  // namespace dot11b::gui
