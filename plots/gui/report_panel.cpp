#include "plots/gui/report_panel.hpp"

#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace dot11b::plot_windows {
namespace {

constexpr double kVerdictScale = 1.5;
const QColor kPassGreen{0, 120, 0};
const QColor kFailRed{190, 0, 0};

}  // namespace

ReportPanel::ReportPanel(const std::string& verdict, bool passed, const std::string& report, QWidget* parent)
    : QWidget(parent), verdict_(new QLabel(QString::fromStdString(verdict))), report_(new QPlainTextEdit) {
    verdict_->setObjectName("verdict");
    verdict_->setWordWrap(true);
    verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    verdict_->setAutoFillBackground(true);
    QPalette colours = verdict_->palette();
    colours.setColor(QPalette::Window, passed ? kPassGreen : kFailRed);
    colours.setColor(QPalette::WindowText, Qt::white);
    verdict_->setPalette(colours);

    report_->setObjectName("report");
    report_->setReadOnly(true);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setPlainText(QString::fromStdString(report));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(verdict_);
    layout->addWidget(report_, 1);
    apply_fonts();
}

void ReportPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) apply_fonts();
}

void ReportPanel::apply_fonts() {
    const QFont base = font();
    QFont large = base;
    large.setBold(true);
    if (base.pointSizeF() > 0) large.setPointSizeF(base.pointSizeF() * kVerdictScale);
    verdict_->setFont(large);
    const int padding = QFontMetrics(base).height() / 2;
    verdict_->setContentsMargins(padding, padding / 2, padding, padding / 2);

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (base.pointSizeF() > 0) fixed.setPointSizeF(base.pointSizeF());
    report_->setFont(fixed);
}

}  // namespace dot11b::plot_windows
