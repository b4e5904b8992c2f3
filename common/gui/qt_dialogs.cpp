#include "common/gui/qt_dialogs.hpp"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/gui/mnemonics.hpp"
#include "common/gui/progress_task.hpp"

namespace dot11b::gui {
namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

// "*.mat" becomes "*.mat (*.mat)"; "*" and "*.*" mean every file.
QString name_filter(const std::string& pattern) {
    if (pattern.empty() || pattern == "*" || pattern == "*.*") return QStringLiteral("All files (*)");
    return q(pattern) + " (" + q(pattern) + ")";
}

QString start_folder(const std::filesystem::path& folder) {
    return folder.empty() ? QString() : QString::fromStdString(folder.string());
}

std::optional<std::filesystem::path> chosen(const QString& file) {
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(file.toStdString());
}

// Open until its task has finished: Cancel, Esc and the close button only ask
// the task to stop, so nothing else can be clicked while it runs.
class ProgressDialog final : public QDialog {
public:
    ProgressDialog(QWidget* parent, const ProgressRequest& request, ProgressTask& task)
        : QDialog(parent), task_(task), can_cancel_(request.can_cancel) {
        setWindowTitle(q(request.title));
        setWindowModality(Qt::ApplicationModal);
        auto* text = new QLabel(q(request.text));
        text->setTextFormat(Qt::PlainText);
        bar_->setRange(0, 0);  // busy until the first report
        bar_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
        cancel_->setAutoDefault(false);
        cancel_->setVisible(can_cancel_);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(text);
        layout->addWidget(bar_);
        layout->addWidget(bytes_);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(cancel_);
        layout->addLayout(buttons);
        connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::reject);
        connect(&task, &ProgressTask::sent, this, &ProgressDialog::show_sent);
        connect(&task, &ProgressTask::finished, this, &QDialog::accept);
    }

    void reject() override {
        if (!can_cancel_ || !cancel_->isEnabled()) return;
        cancel_->setEnabled(false);
        cancel_->setText(QStringLiteral("Cancelling..."));
        task_.cancel();
    }

private:
    static constexpr int kSteps = 1000;

    void show_sent(qint64 bytes, qint64 total) {
        const QLocale locale;
        bar_->setRange(0, kSteps);
        bar_->setValue(total > 0 ? static_cast<int>(kSteps * bytes / total) : kSteps);
        bytes_->setText(QStringLiteral("%1 of %2 bytes sent").arg(locale.toString(bytes), locale.toString(total)));
        // Once everything is sent only the instrument's short set-up remains.
        if (bytes == total) cancel_->setEnabled(false);
    }

    ProgressTask& task_;
    bool can_cancel_;
    QProgressBar* bar_ = new QProgressBar;
    QLabel* bytes_ = new QLabel;
    QPushButton* cancel_ = new QPushButton(QStringLiteral("Cancel"));
};

}  // namespace

// A question with free button texts: closing the window (or Esc) is an answer
// of its own, which QMessageBox cannot report when no button has a reject role.
std::optional<std::string> QtDialogs::question(QWidget* parent, const Question& question) {
    QDialog dialog(parent);
    dialog.setWindowTitle(q(question.title));
    dialog.setModal(true);
    auto* icon = new QLabel;
    const int size = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(size, size));
    auto* text = new QLabel(q(question.text));
    text->setTextFormat(Qt::PlainText);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* buttons = new QDialogButtonBox;
    std::optional<std::string> answer;
    for (const auto& label : question.buttons) {
        QPushButton* button = buttons->addButton(literal_ampersands(q(label)), QDialogButtonBox::ActionRole);
        button->setAutoDefault(false);
        if (label == question.default_button) {
            button->setDefault(true);
            button->setFocus();
        }
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &answer, label] {
            answer = label;
            dialog.accept();
        });
    }
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    layout->addWidget(buttons);
    dialog.exec();
    return answer;
}

void QtDialogs::error(QWidget* parent, const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, q(title), q(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtDialogs::message(QWidget* parent, const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, q(title), q(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<std::vector<std::string>> QtDialogs::input(QWidget* parent, const InputRequest& request) {
    QDialog dialog(parent);
    dialog.setWindowTitle(q(request.title));
    dialog.setModal(true);
    auto* form = new QFormLayout;
    std::vector<QLineEdit*> fields;
    for (std::size_t i = 0; i < request.prompts.size(); ++i) {
        auto* field = new QLineEdit(i < request.defaults.size() ? q(request.defaults[i]) : QString());
        // The prompt's label has the field as its buddy, so it reads "&" as an access key.
        form->addRow(literal_ampersands(q(request.prompts[i])), field);
        fields.push_back(field);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> entries;
    for (const QLineEdit* field : fields) entries.push_back(field->text().toStdString());
    return entries;
}

std::optional<std::filesystem::path> QtDialogs::open_file(QWidget* parent, const FileRequest& request) {
    return chosen(QFileDialog::getOpenFileName(parent, q(request.title), start_folder(request.start_folder),
                                               name_filter(request.filter)));
}

void QtDialogs::progress(QWidget* parent, const ProgressRequest& request, ProgressTask& task) {
    ProgressDialog dialog(parent, request, task);
    // Started from the dialog's own event loop, so no report can come before it listens.
    QMetaObject::invokeMethod(&task, &ProgressTask::start, Qt::QueuedConnection);
    dialog.exec();
}

std::optional<std::filesystem::path> QtDialogs::save_file(QWidget* parent, const FileRequest& request) {
    return chosen(QFileDialog::getSaveFileName(parent, q(request.title), start_folder(request.start_folder),
                                               name_filter(request.filter)));
}

void QtDialogs::run_window(QDialog& window) { window.exec(); }

bool QtDialogs::print(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::page_setup(QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace dot11b::gui
