// The main window's entry and redraw rules, through its widgets. Expected
// values are the worked examples of the window's rules (2 us of ramp at
// 38.5 MHz is 77 samples, channel n is 2407 + 5n MHz, ...).

#include <functional>
#include <thread>

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/gui/tests/studio_fixture.hpp"

namespace dot11b::gui::test {
namespace {

using Check = std::function<void(const app::FormatParameters&)>;

TEST_F(Studio, StartsWithTheDefaultsShown) {
    EXPECT_EQ(main_->windowTitle(), "Corvane Wave Forge - IEEE 802.11b-1999 (DSSS)");
    EXPECT_TRUE(main_->isVisible());
    const std::pair<const char*, QString> shown[] = {
        {"tbGenerationMode", "Framed"}, {"pdDataRate", "11 Mbps"},     {"pdModulation", "CCK"},
        {"txtRampTime", "2"},           {"txtIdleInterval", "100"},    {"pdChannels", " 1 - 2412 MHz"},
        {"txtDataLength", "1024"},      {"txtTotalLength", "1024"},    {"txtNumberOfSamples", "40068 Samples"},
        {"pdOversampleRate", "3.5"},    {"lblFilterFactor", "bT:  "},  {"txtFilterFactor", "0.5"},
        {"txtFilterTaps", "6"},         {"txtFrequency", "2.412"},     {"pdFrequencyUnits", "GHz"},
        {"txtSamplingRate", "38.5"},    {"pdSamplingRateUnits", "MHz"}, {"txtAmplitude", "-30"},
        {"txtWaveformTitle", "dot11b"}, {"pdReconFilter", "Through"},  {"tbArbRefSource", "Int. Ref"},
        {"tbMarkerPolarity", "+ Mkrs"},
    };
    for (const auto& [tag, expected] : shown) EXPECT_EQ(text(tag), expected) << tag;
    EXPECT_EQ(control<QComboBox>("pdChannels")->itemText(13), "14 - 2484 MHz");
    EXPECT_EQ(control("pdScrambler")->toolTip(), "Selects the activity state of the Scrambler.");
    EXPECT_EQ(control("pbRefresh")->toolTip(), "Downloads just the current settings\nto the ORB.");
    EXPECT_FALSE(enabled("pbMACheaderSetup"));
    EXPECT_TRUE(enabled("pbDownload"));
    EXPECT_TRUE(enabled("pbRefresh"));

    QStringList menus;
    for (QAction* action : static_cast<QMainWindow*>(main_)->menuBar()->actions()) {
        if (action->isVisible()) menus << action->text();
    }
    EXPECT_EQ(menus, (QStringList{"&File", "&Plot", "&Configuration", "Special", "&Help"}));
    EXPECT_FALSE(item("menuFileExportRawData")->isVisible());
    EXPECT_FALSE(item("menuPlotWaterfall")->isVisible());
    EXPECT_TRUE(item("menuConfigSigGenIO")->isEnabled());
    EXPECT_FALSE(item("menuConfigSpecAnIO")->isVisible());
    // The plot windows are not part of this build yet, so their commands stay off.
    EXPECT_EQ(item("menuPlotCCDF")->isEnabled(), frame::operation(frame::OpId::XR_PlotCCDF).body != nullptr);
}

// An entry that is not a number is refused and one out of range is limited;
// either way the status bar and the console say so.
TEST_F(Studio, EditFieldsStoreTheClampedEntryAndShowWhatWasStored) {
    struct Case {
        const char* tag;
        const char* entry;
        Check stored;
        const char* shown;
        const char* note;  // nullptr: taken as typed, nothing said
    };
    const Case cases[] = {
        {"txtRampTime", "abc", [](auto& p) { EXPECT_EQ(p.ramp_length, 77u); }, "2",
         "Ramp time: abc is not a number; kept 2 µs"},
        {"txtRampTime", "2000", [](auto& p) { EXPECT_EQ(p.ramp_length, 38500u); }, "1000",
         "Ramp time: 2000 is more than 1000 µs; set to 1000 µs"},
        {"txtIdleInterval", "100", [](auto& p) { EXPECT_EQ(p.idle_samples, 3850u); }, "100", nullptr},
        {"txtIdleInterval", "1e400", [](auto& p) { EXPECT_EQ(p.idle_samples, 3850u); }, "100",
         "Idle interval: 1e400 is not a number; kept 100 µs"},
        {"txtIdleInterval", "-5", [](auto& p) { EXPECT_EQ(p.idle_samples, 0u); }, "0",
         "Idle interval: -5 is less than 0 µs; set to 0 µs"},
        {"txtDataLength", "abc", [](auto& p) { EXPECT_EQ(p.data_length, 1024u); }, "1024",
         "Data length: abc is not a number; kept 1024 bytes"},
        {"txtDataLength", "3000", [](auto& p) { EXPECT_EQ(p.data_length, 2312u); }, "2312",
         "Data length: 3000 is more than 2312 bytes; set to 2312 bytes"},
        {"txtDataLength", " 12.4 ", [](auto& p) { EXPECT_EQ(p.data_length, 12u); }, "12", nullptr},
        {"txtFilterFactor", "0.01", [](auto& p) { EXPECT_EQ(p.filter_factor, 0.1); }, "0.1",
         "Filter factor: 0.01 is less than 0.1; set to 0.1"},
        {"txtFilterFactor", "x", [](auto& p) { EXPECT_EQ(p.filter_factor, 0.1); }, "0.1",
         "Filter factor: x is not a number; kept 0.1"},
        {"txtFilterTaps", "6", [](auto& p) { EXPECT_EQ(p.filter_taps, 7); }, "7", nullptr},
        {"txtFilterTaps", "x", [](auto& p) { EXPECT_EQ(p.filter_taps, 7); }, "7",
         "Filter length: x is not a number; kept 7 symbols"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tag) + " <- " + c.entry);
        const std::size_t printed = console_.size();
        enter(c.tag, c.entry);
        c.stored(parameters());
        EXPECT_EQ(text(c.tag), c.shown);
        if (c.note == nullptr) {
            EXPECT_EQ(console_.size(), printed);
            continue;
        }
        ASSERT_EQ(console_.size(), printed + 1);
        EXPECT_EQ(console_.back(), c.note);
        EXPECT_EQ(status_message(main_), QString::fromUtf8(c.note));
        EXPECT_EQ(status_kind(main_), "note");
    }
    // Root cosine allows a roll-off down to 0.05; without a filter there is no lower bound.
    choose("pdFilterType", 3);
    enter("txtFilterFactor", "0.01");
    EXPECT_EQ(parameters().filter_factor, 0.05);
    choose("pdFilterType", 1);
    enter("txtFilterFactor", "-2");
    EXPECT_EQ(parameters().filter_factor, -2);
    // Chosen again, a filter brings the factor into its own range.
    choose("pdFilterType", 2);
    EXPECT_EQ(parameters().filter_factor, 0.1);
    EXPECT_EQ(text("txtFilterFactor"), "0.1");
}

TEST_F(Studio, ControlsFollowModeRateModulationRampFilterAndPayload) {
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::pair<const char*, bool>> enabled;
        std::vector<std::pair<const char*, QString>> shown;
        Check stored;
    };
    const std::vector<Step> steps = {
        {"1 Mbit/s forces the long preamble", [&] { choose("pdPreambleFormat", 2); choose("pdDataRate", 1); },
         {{"pdPreambleFormat", false}, {"pdModulation", false}}, {{"pdModulation", "DBPSK"}, {"pdPreambleFormat", "Long"}},
         [](auto& p) { EXPECT_EQ(p.preamble, phy::PreambleType::Long); }},
        {"2 Mbit/s keeps the preamble chosen", [&] { choose("pdDataRate", 2); choose("pdPreambleFormat", 2); },
         {{"pdPreambleFormat", true}, {"pdModulation", false}}, {{"pdModulation", "DQPSK"}},
         [](auto& p) { EXPECT_EQ(p.preamble, phy::PreambleType::Short); }},
        {"PBCC at 11 Mbit/s enables the encoder", [&] { choose("pdDataRate", 4); choose("pdModulation", 2); },
         {{"chkEncoderActive", true}, {"pdModulation", true}}, {{"pdModulation", "PBCC"}},
         [](auto& p) { EXPECT_EQ(p.modulation, phy::Modulation::Pbcc); }},
        {"2 Mbit/s keeps PBCC stored", [&] { choose("pdDataRate", 2); },
         {{"chkEncoderActive", false}}, {{"pdModulation", "DQPSK"}},
         [](auto& p) { EXPECT_EQ(p.modulation, phy::Modulation::Pbcc); }},
        {"back at 11 Mbit/s PBCC shows again", [&] { choose("pdDataRate", 4); }, {}, {{"pdModulation", "PBCC"}},
         [](auto&) {}},
        {"no ramp disables the ramp time", [&] { choose("pdPowerRamp", 1); },
         {{"txtRampTime", false}, {"txtIdleInterval", true}}, {}, [](auto& p) { EXPECT_EQ(p.ramp, phy::RampType::None); }},
        {"unframed disables the framing controls", [&] { choose("pdPowerRamp", 2); click("tbGenerationMode"); },
         {{"txtRampTime", false}, {"pdPreambleFormat", false}, {"chkClkLocked", false}, {"chkMACheader", false}},
         {{"tbGenerationMode", "Unframed"}}, [](auto& p) { EXPECT_FALSE(p.framed); }},
        {"framed again", [&] { click("tbGenerationMode"); }, {{"txtRampTime", true}, {"chkMACfcs", true}},
         {{"tbGenerationMode", "Framed"}}, [](auto& p) { EXPECT_TRUE(p.framed); }},
        {"MAC header and FCS add 30 and 4 bytes", [&] { click("chkMACheader"); click("chkMACfcs"); },
         {{"pbMACheaderSetup", true}}, {{"txtTotalLength", "1058"}}, [](auto& p) { EXPECT_EQ(p.total_length, 1058u); }},
        {"unticked, the header has no Setup after a rate change", [&] { click("chkMACheader"); choose("pdDataRate", 2); },
         {{"pbMACheaderSetup", false}}, {}, [](auto& p) { EXPECT_FALSE(p.mac_header.active); }},
        {"root cosine", [&] { choose("pdFilterType", 3); }, {}, {{"lblFilterFactor", "a:  "}},
         [](auto& p) { EXPECT_EQ(p.filter, phy::FilterType::RootCosine); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        for (const auto& [tag, on] : step.enabled) EXPECT_EQ(enabled(tag), on) << tag;
        for (const auto& [tag, expected] : step.shown) EXPECT_EQ(text(tag), expected) << tag;
        step.stored(parameters());
    }
    choose("pdFilterType", 1);
    for (const char* tag : {"txtFilterFactor", "txtFilterTaps", "lblFilterTaps", "lblFilterTapsUnit"}) {
        EXPECT_FALSE(visible(tag)) << tag;
    }
    EXPECT_EQ(text("lblFilterFactor"), "");
}

TEST_F(Studio, ChannelAndOversamplingRescaleAndTheGeneratorPanelFollows) {
    choose("pdChannels", 6);
    EXPECT_EQ(sig_gen_settings().frequency, 2437000000.0);
    EXPECT_EQ(text("txtFrequency"), "2.437");
    EXPECT_EQ(text("pdFrequencyUnits"), "GHz");
    choose("pdChannels", 10);
    EXPECT_EQ(sig_gen_settings().frequency, 2457000000.0);
    choose("pdChannels", 14);
    EXPECT_EQ(sig_gen_settings().frequency, 2484000000.0);

    enter("txtIdleInterval", "100");
    choose("pdOversampleRate", 1);
    const app::FormatParameters p = parameters();
    EXPECT_EQ(p.oversampling, 2);
    EXPECT_EQ(p.idle_samples, 2200u);
    EXPECT_EQ(p.ramp_length, 44u);  // 2 us at 22 MHz
    EXPECT_EQ(text("txtIdleInterval"), "100");
    EXPECT_EQ(sig_gen_settings().sampling_rate, 22000000.0);
    EXPECT_EQ(text("txtSamplingRate"), "22");
    EXPECT_EQ(text("pdSamplingRateUnits"), "MHz");
    enter("txtFilterTaps", "6");
    EXPECT_EQ(parameters().filter_taps, 6);
}

// Beside the generator panel: a sample rate that is not 11 MHz times the
// oversampling ratio, and a carrier that a change of units moved away from
// its RF channel.
TEST_F(Studio, GeneratorPanelWarnsOfARateOrCarrierThatDisagrees) {
    EXPECT_FALSE(visible("lblSamplingRateWarning"));
    EXPECT_FALSE(visible("lblFrequencyWarning"));
    enter("txtSamplingRate", "10");
    EXPECT_TRUE(visible("lblSamplingRateWarning"));
    EXPECT_EQ(text("lblSamplingRateWarning"), "⚠ not 11 MHz × 3.5 = 38.5 MHz");
    choose("pdOversampleRate", 1);  // the rate follows the ratio again: 22 MHz
    EXPECT_FALSE(visible("lblSamplingRateWarning"));

    choose("pdChannels", 6);
    choose("pdFrequencyUnits", 3);
    EXPECT_EQ(sig_gen_settings().frequency, 2437000.0);
    EXPECT_TRUE(visible("lblFrequencyWarning"));
    EXPECT_EQ(text("lblFrequencyWarning"), "⚠ not RF channel 6 (2.437 GHz)");
    EXPECT_EQ(status_message(main_), "Frequency: changing the units to MHz set 2.437 GHz to 2.437 MHz");
    choose("pdChannels", 6);
    EXPECT_FALSE(visible("lblFrequencyWarning"));
}

// A key that clicks a button or ticks a box is its own: shared with another
// control or a menu, pressing it would only move the focus between them.
TEST_F(Studio, AccessKeysOfButtonsAndCheckBoxesAreTheirOwn) {
    std::map<QString, QStringList> owners;
    QStringList activating;
    const auto add = [&](const QString& text, const QString& owner, bool activates) {
        const QString key = QKeySequence::mnemonic(text).toString();
        if (key.isEmpty()) return;
        owners[key] << owner;
        if (activates) activating << key;
    };
    for (QAbstractButton* button : main_->findChildren<QAbstractButton*>()) {
        if (button->window() == main_) add(button->text(), button->objectName(), true);
    }
    for (QLabel* label : main_->findChildren<QLabel*>()) {
        if (label->window() == main_ && label->buddy()) {
            add(label->text(), label->objectName(), qobject_cast<QAbstractButton*>(label->buddy()) != nullptr);
        }
    }
    for (QAction* menu : static_cast<QMainWindow*>(main_)->menuBar()->actions()) {
        if (menu->isVisible()) add(menu->text(), menu->text(), true);  // a hidden menu takes no keys
    }
    ASSERT_FALSE(activating.empty());
    for (const QString& key : activating) EXPECT_EQ(owners[key].size(), 1) << owners[key].join(", ").toStdString();
}

// Widgets belong to the GUI thread: a worker's message is shown from there,
// once its events run.
TEST_F(Studio, AWorkersMessageReachesTheStatusBarThroughTheGuiThread) {
    std::thread worker([] { frame::print_warning("printed by a worker"); });
    worker.join();
    EXPECT_EQ(status_message(main_), "");
    settle();
    EXPECT_EQ(status_message(main_), "printed by a worker");
    EXPECT_EQ(status_kind(main_), "warning");
}

TEST_F(Studio, FontScaleReachesTheMenus) {
    set_font_scale(1.5);
    QWidget* scaled = widget_of(frame::call_by_name("dot11b_GUI_b", 1, {}).at(0).reals()[0]);
    set_font_scale(1);
    const double expected = 1.5 * QApplication::font().pointSizeF();
    EXPECT_DOUBLE_EQ(scaled->font().pointSizeF(), expected);
    const auto menus = scaled->findChildren<QMenu*>();
    ASSERT_FALSE(menus.empty());
    for (const QMenu* menu : menus) EXPECT_DOUBLE_EQ(menu->font().pointSizeF(), expected) << menu->objectName().toStdString();
}

// Once a menu is open, each of its items is one key away.
TEST_F(Studio, EveryMenuItemHasAnAccessKeyOfItsOwn) {
    const auto menus = static_cast<QMainWindow*>(main_)->menuBar()->actions();
    ASSERT_FALSE(menus.empty());
    for (QAction* menu : menus) {
        if (!menu->isVisible() || menu->menu() == nullptr) continue;
        std::map<QString, QStringList> owners;
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator() || !item->isVisible()) continue;
            const QString key = QKeySequence::mnemonic(item->text()).toString();
            EXPECT_FALSE(key.isEmpty()) << item->text().toStdString();
            if (!key.isEmpty()) owners[key] << item->text();
        }
        for (const auto& [key, items] : owners) EXPECT_EQ(items.size(), 1) << items.join(", ").toStdString();
    }
}

TEST_F(Studio, GeneratorPanelEntriesAreClampedAndTyposKeepTheStoredValue) {
    struct Case {
        const char* tag;
        const char* entry;
        int units;  // of the field's units drop-down; 0 for none
        std::function<void(const app::SigGenSettings&)> stored;
        const char* shown;
    };
    const Case cases[] = {
        {"txtFrequency", "2412", 3, [](auto& s) { EXPECT_EQ(s.frequency, 2412000000.0); }, "2.412"},
        {"txtFrequency", "50", 2, [](auto& s) { EXPECT_EQ(s.frequency, 100000.0); }, "100"},
        {"txtFrequency", "9", 4, [](auto& s) { EXPECT_EQ(s.frequency, 4000000000.0); }, "4"},
        {"txtFrequency", "2,4", 4, [](auto& s) { EXPECT_EQ(s.frequency, 4000000000.0); }, "4"},
        {"txtSamplingRate", "100", 3, [](auto& s) { EXPECT_EQ(s.sampling_rate, 40000000.0); }, "40"},
        {"txtSamplingRate", "oops", 3, [](auto& s) { EXPECT_EQ(s.sampling_rate, 40000000.0); }, "40"},
        {"txtAmplitude", "-140.4", 0, [](auto& s) { EXPECT_EQ(s.amplitude, -136); }, "-136"},
        {"txtAmplitude", "7.6", 0, [](auto& s) { EXPECT_EQ(s.amplitude, 8); }, "8"},
        {"txtAmplitude", "7..6", 0, [](auto& s) { EXPECT_EQ(s.amplitude, 8); }, "8"},
        {"txtWaveformTitle", "my wave #1", 0, [](auto& s) { EXPECT_EQ(s.title, "MYWAVE#1"); }, "MYWAVE#1"},
        {"txtWaveformTitle", " .,; ", 0, [](auto& s) { EXPECT_EQ(s.title, "BLANK"); }, "BLANK"},
        {"txtWaveformTitle", "abcdefghijklmnopqrstuvwxy", 0,
         [](auto& s) { EXPECT_EQ(s.title, "ABCDEFGHIJKLMNOPQRST"); }, "ABCDEFGHIJKLMNOPQRST"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tag) + " <- " + c.entry);
        if (c.units > 0) {
            const char* units = std::string(c.tag) == "txtFrequency" ? "pdFrequencyUnits" : "pdSamplingRateUnits";
            control<QComboBox>(units)->setCurrentIndex(c.units - 1);
        }
        enter(c.tag, c.entry);
        c.stored(sig_gen_settings());
        EXPECT_EQ(text(c.tag), c.shown);
    }
    // Changing only the units rescales the number shown: 2.412 GHz becomes 2.412 MHz.
    enter("txtFrequency", "2.412");
    EXPECT_EQ(sig_gen_settings().frequency, 2412000000.0);
    choose("pdFrequencyUnits", 3);
    EXPECT_EQ(sig_gen_settings().frequency, 2412000.0);

    click("tbArbRefSource");
    click("tbMarkerPolarity");
    click("chkRFblanking");
    choose("pdReconFilter", 2);
    const app::SigGenSettings s = sig_gen_settings();
    EXPECT_TRUE(s.external_reference);
    EXPECT_TRUE(s.negative_markers);
    EXPECT_FALSE(s.rf_blanking);
    EXPECT_EQ(s.recon_filter, 2);
    EXPECT_EQ(text("tbArbRefSource"), "Ext. Ref");
    EXPECT_EQ(text("tbMarkerPolarity"), "- Mkrs");
}

}  // namespace
}  // namespace dot11b::gui::test
