#include "platform/ui/Printer.h"

#include "platform/text/Cp932.h"

#include <QAbstractPrintDialog>
#include <QFont>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

PrintDialog::Hook &dialogHook()
{
    static PrintDialog::Hook hook;
    return hook;
}

constexpr double kTwipsPerPoint = 20;

QRectF printableTwips(const QPrinter &printer)
{
    const QRectF points = printer.pageLayout().paintRect(QPageLayout::Point);
    return {0, 0, points.width() * kTwipsPerPoint, points.height() * kTwipsPerPoint};
}

} // namespace

PrintDialog::PrintDialog() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

PrintDialog::~PrintDialog() = default;

void PrintDialog::setHook(Hook hook)
{
    dialogHook() = std::move(hook);
}

bool PrintDialog::exec(QWidget *parent)
{
    m_printer->setCopyCount(1);
    m_documents.clear();
    if (dialogHook())
        return dialogHook()(*m_printer);
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

void paintPrinterPage(QPainter &painter, const QRectF &area, const PrinterPage &page, const QString &fontName)
{
    const double halfCell = area.width() / Printer::kColumns;
    // A page that runs past its 75 lines (a report's closing lines) is drawn at a closer
    // pitch rather than losing its last lines below the page.
    const double pitch = area.height() / double(std::max<qsizetype>(Printer::kLines, page.size()));
    QFont font(fontName);
    font.setPixelSize(std::max(1, int(std::min(pitch, 2 * halfCell) * 0.9)));
    font.setStyleHint(QFont::Monospace);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setClipRect(area);
    const double ascent = painter.fontMetrics().ascent();
    for (qsizetype row = 0; row < page.size(); ++row) {
        const double baseline = area.top() + double(row) * pitch + ascent;
        int column = 0;
        for (const QChar c : page[row]) {
            if (column >= Printer::kColumns)
                break;
            if (c.isHighSurrogate() || c.isLowSurrogate())
                continue;
            const QString one(c);
            painter.drawText(QPointF(area.left() + column * halfCell, baseline), one);
            column += text::cp932ByteLength(one);
        }
    }
    painter.restore();
}

Printer::Printer(PrintDialog &dialog)
    : m_dialog(dialog), m_printer(dialog.printer()), m_copies(dialog.printer().copyCount()),
      m_orientation(dialog.printer().pageLayout().orientation())
{
}

Printer::~Printer()
{
    if (m_painter)
        m_painter->end();
}

QString Printer::targetName() const
{
    return m_printer.outputFileName().isEmpty() ? m_printer.printerName() : m_printer.outputFileName();
}

double Printer::linePitchTwips() const
{
    return printableTwips(m_printer).height() / kLines;
}

double Printer::halfCellTwips() const
{
    return printableTwips(m_printer).width() / kColumns;
}

int Printer::CurrentY() const
{
    return int(std::lround(m_row * linePitchTwips()));
}

void Printer::setCurrentY(int twips)
{
    m_row = std::max(0, int(std::lround(twips / linePitchTwips())));
}

void Printer::Print(const QString &line)
{
    PrinterPage &page = m_pages.back();
    while (page.size() <= m_row)
        page << QString();
    const int indent = std::max(0, int(std::floor(m_currentX / halfCellTwips())));
    page[m_row] = QString(indent, QLatin1Char(' ')) + line;
    ++m_row;
    m_currentX = 0;
}

void Printer::NewPage()
{
    m_pages.push_back(PrinterPage{});
    m_row = 0;
    m_currentX = 0;
}

void Printer::KillDoc()
{
    m_pages.assign(1, PrinterPage{});
    m_row = 0;
    m_currentX = 0;
}

bool Printer::begin()
{
    m_printer.setCopyCount(m_copies);
    m_printer.setPageOrientation(m_orientation);
    m_painter = std::make_unique<QPainter>();
    if (m_painter->begin(&m_printer))
        return true;
    m_painter.reset();
    return false;
}

bool Printer::EndDoc()
{
    // Documents that go to one file share it, each from a new page; a printer gets one job
    // per document.
    const bool toFile = !m_printer.outputFileName().isEmpty();
    bool ok = true;
    if (m_painter)
        ok = m_printer.newPage();
    else
        ok = begin();
    if (ok) {
        const QRectF area(QPointF(0, 0), m_printer.pageLayout().paintRectPixels(m_printer.resolution()).size());
        for (size_t i = 0; i < m_pages.size() && ok; ++i) {
            if (i > 0)
                ok = m_printer.newPage();
            paintPrinterPage(*m_painter, area, m_pages[i], m_fontName);
        }
        if (!toFile && m_painter)
            ok = m_painter->end() && ok;
        if (!toFile)
            m_painter.reset();
    }
    if (!ok) {
        m_error = QStringLiteral("印刷できませんでした。");
        if (m_painter) {
            m_painter->end();
            m_painter.reset();
        }
        KillDoc();
        return false;
    }
    m_error.clear();
    m_dialog.m_documents.push_back(m_pages);
    KillDoc();
    return true;
}

} // namespace ui
