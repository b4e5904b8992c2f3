// Special > Impairments, answered through the dialog script as a user would;
// the effect is measured on the calculated waveform itself.

#include <QCheckBox>
#include <QDialog>

#include <cmath>

#include "app/gui/tests/studio_fixture.hpp"
#include "app/num2str.hpp"
#include "frame/convert.hpp"
#include "frame/globals.hpp"

namespace dot11b::gui::test {
namespace {

void tick(QDialog& window, const char* tag) { window.findChild<QCheckBox*>(tag)->setChecked(true); }
void type(QDialog& window, const char* tag, const char* text) { type_into(window.findChild<QLineEdit*>(tag), text); }
QString shown(QDialog& window, const char* tag) {
    if (auto* edit = window.findChild<QLineEdit*>(tag)) return edit->text();
    return window.findChild<QLabel*>(tag)->text();
}
void ok(QDialog& window) { window.findChild<QAbstractButton*>("pbOK")->click(); }

Samples calculated_waveform() {
    return frame::to_samples(frame::Inputs("waveform", {frame::global(frame::Global::waveform)}), 0, "waveform");
}

// The length in "12345 Samples".
double samples_in(const QString& text) { return text.section(' ', 0, 0).toDouble(); }

TEST_F(Studio, ImpairmentsWindowCarrierOffsetIsTheOneMeasuredInTheWaveform) {
    enter("txtDataLength", "200");
    click("pbCalculate");
    const Samples clean = calculated_waveform();
    const double rate = 11e6 * parameters().oversampling;

    dialogs_->answer_window([](QDialog& window) {
        tick(window, "chkCFO");
        type(window, "txtCFO", "123456.5");
        ok(window);
    });
    menu("menuSpecialImpairments");
    ASSERT_EQ(dialogs_->shown().size(), 1u);
    EXPECT_EQ(dialogs_->shown()[0].title, "Impairments");

    // Plots, Export and Download would use the old waveform: they must ask.
    dialogs_->answer_question("Cancel");
    menu("menuPlotSpectrum");
    EXPECT_EQ(dialogs_->shown().back().title, "Waveform Not Recalculated");

    click("pbCalculate");
    const Samples y = calculated_waveform();
    ASSERT_EQ(y.size(), clean.size());
    // The phase slope of y conj(clean), from sample to sample.
    Complex lag;
    for (std::size_t n = 0; n + 1 < y.size(); ++n) {
        lag += y[n + 1] * std::conj(clean[n + 1]) * std::conj(y[n] * std::conj(clean[n]));
    }
    EXPECT_NEAR(std::arg(lag) * rate / (2.0 * M_PI), 123456.5, 1.0);
    EXPECT_TRUE(dialogs_->all_answers_used());
}

TEST_F(Studio, ImpairmentsWindowClampsKeepsAndItsClockOffsetSetsTheLength) {
    enter("txtDataLength", "100");
    const double clean_length = samples_in(text("txtNumberOfSamples"));
    ASSERT_GT(clean_length, 0);
    const double expected = 2.0 * std::round(clean_length / 1.001 / 2.0);  // 1000 ppm fast, made even

    std::map<std::string, QString> seen;
    dialogs_->answer_window([&](QDialog& window) {
        seen["length before"] = shown(window, "txtProjectedLength");
        seen["clock enabled before"] = window.findChild<QLineEdit*>("txtClockOffset")->isEnabled() ? "yes" : "no";
        tick(window, "chkClockOffset");
        type(window, "txtClockOffset", "5000");  // above 1000 ppm: stored as 1000
        seen["clock"] = shown(window, "txtClockOffset");
        seen["clock status"] = status_kind(&window);
        seen["length after"] = shown(window, "txtProjectedLength");
        tick(window, "chkSNR");
        type(window, "txtSNR", "33");
        type(window, "txtSNR", "loud");  // not a number: keeps 33
        seen["snr"] = shown(window, "txtSNR");
        seen["snr status"] = status_kind(&window);
        type(window, "txtSeed", "12.6");
        seen["seed"] = shown(window, "txtSeed");
        ok(window);
    });
    menu("menuSpecialImpairments");

    EXPECT_EQ(samples_in(seen["length before"]), clean_length);
    EXPECT_EQ(seen["clock enabled before"], "no");
    EXPECT_EQ(seen["clock"], "1000");
    EXPECT_EQ(seen["clock status"], "warning");
    EXPECT_EQ(samples_in(seen["length after"]), expected);
    EXPECT_EQ(seen["snr"], "33");
    EXPECT_EQ(seen["snr status"], "error");
    EXPECT_EQ(seen["seed"], "13");
    // The main window's projected length follows, and the build has that length.
    EXPECT_EQ(samples_in(text("txtNumberOfSamples")), expected);
    click("pbCalculate");
    EXPECT_EQ(static_cast<double>(calculated_waveform().size()), expected);

    // The window opens again on what was stored.
    dialogs_->answer_window([&](QDialog& window) {
        seen["clock again"] = shown(window, "txtClockOffset");
        seen["snr ticked"] = window.findChild<QCheckBox*>("chkSNR")->isChecked() ? "yes" : "no";
        window.findChild<QCheckBox*>("chkSNR")->setChecked(false);
        window.findChild<QAbstractButton*>("pbCancel")->click();
    });
    menu("menuSpecialImpairments");
    EXPECT_EQ(seen["clock again"], "1000");
    EXPECT_EQ(seen["snr ticked"], "yes");
    // Cancel kept the noise on.
    dialogs_->answer_window([&](QDialog& window) {
        seen["snr after cancel"] = window.findChild<QCheckBox*>("chkSNR")->isChecked() ? "yes" : "no";
        window.close();
    });
    menu("menuSpecialImpairments");
    EXPECT_EQ(seen["snr after cancel"], "yes");
}

TEST_F(Studio, ImpairmentsGoIntoTheParameterFileAndFileNewClearsThem) {
    dialogs_->answer_window([](QDialog& window) {
        tick(window, "chkDCoffset");
        type(window, "txtDCoffset", "-41.5");
        type(window, "txtSeed", "9");
        ok(window);
    });
    menu("menuSpecialImpairments");
    dialogs_->answer_file(folder_ / "leaky");
    menu("menuFileSaveAs");

    menu("menuFileNew");
    EXPECT_EQ(impairment_settings(), impairments::ImpairmentSettings{});
    dialogs_->answer_file(folder_ / "leaky.mat");
    menu("menuFileOpen");
    EXPECT_EQ(impairment_settings(), (impairments::ImpairmentSettings{.dc_offset = -41.5, .seed = 9}));
    EXPECT_TRUE(dialogs_->all_answers_used());
}

}  // namespace
}  // namespace dot11b::gui::test
