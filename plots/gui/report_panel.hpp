#pragma once
// The text side of the analysis window: the verdict, large and coloured, above
// the report in a read-only monospaced field. Both take their size from the
// widget font and follow it when it changes.

#include <string>

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace dot11b::plot_windows {

class ReportPanel : public QWidget {
    Q_OBJECT
public:
    ReportPanel(const std::string& verdict, bool passed, const std::string& report, QWidget* parent = nullptr);

    // The panel takes the height it is given, the report scrolling within it,
    // rather than one grown to fit the wrapped verdict.
    bool hasHeightForWidth() const override { return false; }
    // As wide as the report's longest line; narrower, the lines wrap.
    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void apply_fonts();

    QLabel* verdict_;
    QPlainTextEdit* report_;
};

}  // namespace dot11b::plot_windows
