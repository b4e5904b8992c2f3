#include "plots/gui/exporter.hpp"

#include <QBuffer>
#include <QPdfWriter>

namespace dot11b::plot_windows {
namespace {

std::vector<std::uint8_t> bytes_of(const QByteArray& data) { return {data.begin(), data.end()}; }

}  // namespace

std::vector<std::uint8_t> png_image(PlotCanvas& canvas, QSize size) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    canvas.toPixmap(size.width(), size.height()).save(&buffer, "PNG");
    return bytes_of(data);
}

std::vector<std::uint8_t> pdf_document(PlotCanvas& canvas, QSize size) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72);  // one pixel of the plot is one point of the page
        writer.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QCPPainter painter(&writer);
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        canvas.toPainter(&painter, size.width(), size.height());
    }
    return bytes_of(data);
}

}  // namespace dot11b::plot_windows
