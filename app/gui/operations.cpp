// Registry adapters of the desktop application: the entry, the window
// scripts (each a dispatcher over its local functions), the menu bar, the
// user data file dialog, the splash and About windows, and the instrument
// connection dialog.

#include <QApplication>

#include "app/gui/figures.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/mac_config.hpp"
#include "app/gui/main_controller.hpp"
#include "app/gui/orb_config.hpp"
#include "app/gui/shell.hpp"
#include "app/gui/sig_gen_script.hpp"
#include "app/gui/user_data_dialog.hpp"
#include "common/gui/handles.hpp"
#include "frame/adapters.hpp"
#include "frame/convert.hpp"
#include "frame/registry.hpp"
#include "frame/runtime_error.hpp"

namespace dot11b::ops {
namespace {

using frame::Inputs;
using frame::Outputs;
using frame::Value;

// Windows need the host's QApplication; without one Qt would abort.
void require_application(const Inputs& in) {
    if (QApplication::instance() == nullptr) {
        throw frame::RuntimeError(std::string(in.operation()) + ": the desktop application needs a running QApplication");
    }
}

}  // namespace

Outputs Dot11b_b(const Inputs&, int) {
    frame::call_by_name("dot11b_GUI_b", 0, {});
    return {};
}

Outputs dot11b_GUI_b(const Inputs& in, int nargout) {
    require_application(in);
    if (in.count() == 0) return gui::main_window::start(nargout);
    return frame::dispatch(gui::main_window::table(), in, nargout);
}

Outputs rfCommonUI(const Inputs& in, int nargout) {
    require_application(in);
    return frame::dispatch(gui::shell::table(), in, nargout);
}

Outputs XR_AddMenu(const Inputs& in, int) {
    if (!in.has(0)) return {Value()};
    require_application(in);
    return {gui::shell::add_menu(frame::to_scalar(in, 0, "hFigure"))};
}

Outputs ORBconfig(const Inputs& in, int nargout) {
    require_application(in);
    return frame::dispatch(gui::orb_config::table(), in, nargout);
}

Outputs dot11_MACconfig(const Inputs& in, int nargout) {
    require_application(in);
    if (in.at(0, "fig").kind() == Value::Kind::Char) return frame::dispatch(gui::mac_config::table(), in, nargout);
    return gui::mac_config::open(in, nargout);
}

Outputs loadUserDataFile(const Inputs& in, int nargout) {
    require_application(in);
    return gui::load_user_data_file(in, nargout);
}

Outputs XR_Splash(const Inputs& in, int) {
    require_application(in);
    return {Value::scalar(gui::handle_of(gui::show_splash()))};
}

Outputs XR_About(const Inputs& in, int) {
    require_application(in);
    QWidget* parent = in.has(0) ? gui::widget_of(frame::to_scalar(in, 0, "hParent")) : nullptr;
    gui::run_about_window(parent, in.has(1) ? in.at(1, "appInfo") : Value());
    return {};
}

Outputs XR_SigGen(const Inputs& in, int nargout) {
    require_application(in);
    return gui::sig_gen_script(in, nargout);
}

}  // namespace dot11b::ops
