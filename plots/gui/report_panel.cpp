#include "plots/gui/report_panel.hpp"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextDocument>
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
    report_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    report_->setPlainText(QString::fromStdString(report));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(verdict_);
    layout->addWidget(report_, 1);
    apply_fonts();
}

QSize ReportPanel::sizeHint() const {
    const QFontMetrics metrics(report_->font());
    int widest = 0;
    for (const QString& line : report_->toPlainText().split('\n')) widest = std::max(widest, metrics.horizontalAdvance(line));
    const auto margins = static_cast<int>(std::ceil(2 * report_->document()->documentMargin()));
    const int scroll_bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, report_);
    return {widest + margins + 2 * report_->frameWidth() + scroll_bar, QWidget::sizeHint().height()};
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
