// XR_AddMenu: the main window's menu bar. Every item calls the shell's
// callback named after its tag; "&" marks the access key.

#include <QMainWindow>
#include <QMenuBar>

#include "app/gui/callbacks.hpp"
#include "app/gui/graphics.hpp"
#include "app/gui/shell.hpp"
#include "common/errors.hpp"
#include "common/gui/handles.hpp"

namespace dot11b::gui::shell {
namespace {

struct Item {
    const char* label;
    const char* tag;
    bool visible = true;
    bool separator_above = false;
    bool has_callback = true;
};

struct Menu {
    const char* field;  // in the returned record
    const char* label;
    const char* tag;
    bool visible;
    std::vector<Item> items;
};

const std::vector<Menu>& menus() {
    static const std::vector<Menu> all = {
        {"File", "&File", "menuFile", true,
         {{"&New", "menuFileNew"},
          {"&Open...", "menuFileOpen"},
          {"&Save", "menuFileSave"},
          {"Save &As...", "menuFileSaveAs"},
          {"&Export Data...", "menuFileExportData"},
          {"&Export Raw Data...", "menuFileExportRawData", false, false, false},
          {"E&xit", "menuFileExit", true, true}}},
        {"Plot", "&Plot", "menuPlot", true,
         {{"&Spectrum", "menuPlotSpectrum"},
          {"&Waterfall", "menuPlotWaterfall", false},
          {"&I(t) Q(t)", "menuPlotIQTime", true, true},
          {"I(t) Q(t) &Overlayed", "menuPlotIQTimeSameAxes"},
          {"&Eye Diagram", "menuPlotEyeDiagram", false},
          {"S&catter Diagram", "menuPlotScatterDiagram", false},
          {"&CCDF", "menuPlotCCDF", true, true},
          {"&Analyze", "menuPlotAnalyze", true, true}}},
        {"Config", "&Configuration", "menuConfig", true,
         {{"&Sig Gen I/O", "menuConfigSigGenIO"}, {"Spec &An I/O", "menuConfigSpecAnIO", false}}},
        // Every letter of "Special" is already the access key of a control.
        {"Special", "Special", "menuSpecial", true,
         {{"Save &Wave...", "menuSpecialSaveWave"}, {"&Impairments...", "menuSpecialImpairments"}}},
        {"Help", "&Help", "menuHelp", true, {{"&Help", "menuHelpHelp"}, {"&About", "menuHelpAbout"}}},
    };
    return all;
}

// An item is usable once the shell has its callback and, for a plot, the
// plot operation is built.
bool usable(const Item& item) {
    const std::string tag(item.tag);
    if (table().find(tag + "_Callback") == nullptr) return false;
    return !tag.starts_with("menuPlot") || plot_available(tag);
}

}  // namespace

frame::Value add_menu(double figure) {
    auto* window = qobject_cast<QMainWindow*>(widget_of(figure));
    if (window == nullptr) throw ConfigError("XR_AddMenu: hFigure " + std::to_string(figure) + " is not a main window");
    frame::Value header = frame::Value::structure({});
    for (const Menu& m : menus()) {
        auto* menu = window->menuBar()->addMenu(m.label);
        menu->setObjectName(m.tag);
        menu->menuAction()->setVisible(m.visible);
        for (const Item& item : m.items) {
            if (item.separator_above) menu->addSeparator();
            QAction* action = menu->addAction(item.label);
            action->setObjectName(item.tag);
            action->setVisible(item.visible);
            action->setEnabled(usable(item));
            if (item.has_callback) connect_callback(action, "rfCommonUI", std::string(item.tag) + "_Callback");
        }
        header.set_field(m.field, frame::Value::scalar(handle_of(menu)));
    }
    return header;
}

}  // namespace dot11b::gui::shell
