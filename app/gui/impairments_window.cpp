#include "app/gui/impairments_window.hpp"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <cmath>
#include <string>

#include "app/entry_rules.hpp"
#include "app/gui/figures.hpp"
#include "app/gui/status_line.hpp"
#include "app/impairment_entries.hpp"
#include "app/num2str.hpp"
#include "app/record_values.hpp"
#include "common/gui/dialog_service.hpp"
#include "common/number_text.hpp"
#include "ui_impairments_window.h"

namespace dot11b::gui {
namespace {

using impairments::ImpairmentSettings;
using impairments::kImpairmentFields;
constexpr std::size_t kCount = kImpairmentFields.size();

QString text_of(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString shown(double value) { return QString::fromStdString(number_text(value)); }

// The window's working copy: every field keeps its value while its
// impairment is off, so ticking it again brings the value back.
class ImpairmentsEditor {
public:
    ImpairmentsEditor(QDialog& window, const ImpairmentSettings& current, const ProjectedLength& projected_length)
        : window_(window), projected_length_(projected_length), seed_(current.seed) {
        for (std::size_t k = 0; k < kCount; ++k) {
            const auto& field = kImpairmentFields[k];
            const QString name = text_of(app::kImpairmentRecordFields[k]);
            check_[k] = window.findChild<QCheckBox*>("chk" + name);
            edit_[k] = window.findChild<QLineEdit*>("txt" + name);
            window.findChild<QLabel*>("lbl" + name + "Unit")
                ->setText(text_of(field.unit) + " (" + shown(field.min) + " to " + shown(field.max) + ")");
            const std::optional<double>& value = current.*field.member;
            values_[k] = value.value_or(app::kImpairmentStartValues[k]);
            check_[k]->setChecked(value.has_value());
            edit_[k]->setText(shown(values_[k]));
            edit_[k]->setEnabled(value.has_value());
            QObject::connect(check_[k], &QCheckBox::toggled, &window, [this, k](bool on) {
                edit_[k]->setEnabled(on);
                show_projected_length();
            });
            QObject::connect(edit_[k], &QLineEdit::editingFinished, &window, [this, k] { enter(k); });
        }
        seed_edit_ = window.findChild<QLineEdit*>("txtSeed");
        // Room for the longest value (the largest seed) in the window's font.
        for (QLineEdit* edit : window.findChildren<QLineEdit*>()) {
            const QFontMetrics metrics = edit->fontMetrics();
            edit->setMinimumWidth(metrics.horizontalAdvance("4294967295") + 3 * metrics.averageCharWidth());
        }
        seed_edit_->setText(shown(static_cast<double>(seed_)));
        QObject::connect(seed_edit_, &QLineEdit::editingFinished, &window, [this] { enter_seed(); });
        projected_ = window.findChild<QLabel*>("txtProjectedLength");
        show_projected_length();
    }

    ImpairmentSettings settings() const {
        ImpairmentSettings s;
        for (std::size_t k = 0; k < kCount; ++k) {
            if (check_[k]->isChecked()) s.*kImpairmentFields[k].member = values_[k];
        }
        s.seed = seed_;
        return s;
    }

private:
    void enter(std::size_t k) {
        const auto& field = kImpairmentFields[k];
        const std::string typed = edit_[k]->text().toStdString();
        const std::optional<double> entry = app::entry_number(typed);
        values_[k] = app::impairment_entry(field, entry, values_[k]);
        edit_[k]->setText(shown(values_[k]));
        if (!entry || std::isnan(*entry)) {
            report(frame::ConsoleKind::Error, std::string(field.option) + ": \"" + typed +
                                                  "\" is not a number; it stays " + number_text(values_[k]));
        } else if (values_[k] != *entry) {
            report(frame::ConsoleKind::Warning, std::string(field.option) + ": " + number_text(*entry) +
                                                    " is outside " + number_text(field.min) + " to " +
                                                    number_text(field.max) + "; set to " + number_text(values_[k]));
        } else {
            clear_status(&window_);
        }
        show_projected_length();
    }

    void enter_seed() {
        const std::string typed = seed_edit_->text().toStdString();
        const std::optional<double> entry = app::entry_number(typed);
        seed_ = app::seed_entry(entry, seed_);
        seed_edit_->setText(shown(static_cast<double>(seed_)));
        if (!entry || std::isnan(*entry)) {
            report(frame::ConsoleKind::Error,
                   "seed: \"" + typed + "\" is not a number; it stays " + number_text(static_cast<double>(seed_)));
        } else {
            clear_status(&window_);
        }
    }

    void report(frame::ConsoleKind kind, const std::string& message) { show_status(&window_, kind, message); }

    void show_projected_length() {
        const std::optional<double> length = projected_length_(settings());
        projected_->setText(length ? QString::fromStdString(app::num2str(*length)) + " Samples" : QString());
    }

    QDialog& window_;
    const ProjectedLength& projected_length_;
    std::array<QCheckBox*, kCount> check_{};
    std::array<QLineEdit*, kCount> edit_{};
    std::array<double, kCount> values_{};
    QLineEdit* seed_edit_ = nullptr;
    std::uint64_t seed_;
    QLabel* projected_ = nullptr;
};

}  // namespace

std::optional<ImpairmentSettings> edit_impairments(QWidget* parent, const ImpairmentSettings& current,
                                                   const ProjectedLength& projected_length) {
    QDialog window(parent);
    Ui::ImpairmentsWindow ui;
    ui.setupUi(&window);
    resize_all_fonts(&window);
    clear_status(&window);
    ImpairmentsEditor editor(window, current, projected_length);
    QObject::connect(ui.pbOK, &QPushButton::clicked, &window, &QDialog::accept);
    QObject::connect(ui.pbCancel, &QPushButton::clicked, &window, &QDialog::reject);
    if (parent) position_child_window(&window, parent);
    dialogs().run_window(window);
    if (window.result() != QDialog::Accepted) return std::nullopt;
    return editor.settings();
}

}  // namespace dot11b::gui
