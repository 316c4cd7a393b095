#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;
class QRectF;
class QWidget;

namespace ui {

// The print dialog of the program: the CUPS printers or a PDF file, no "selection" range,
// the copy count preset to 1 each time it opens. The chosen printer, file and orientation
// hold for the session (this object's lifetime) and never become the system's default.
class PrintDialog {
public:
    PrintDialog();
    ~PrintDialog();
    PrintDialog(const PrintDialog &) = delete;
    PrintDialog &operator=(const PrintDialog &) = delete;

    // Shows the dialog; true when the user chose to print.
    bool exec(QWidget *parent = nullptr);

    // The session's printer with the last choice.
    QPrinter &printer() const { return *m_printer; }

    // The pages of each document printed since the dialog last opened, in order.
    const std::vector<std::vector<QStringList>> &documents() const { return m_documents; }

    // Tests answer the dialog here instead of a window: the hook gets the printer with its
    // copy count preset to 1, may set it up (a PDF path, an orientation) and returns
    // whether the dialog was accepted. An empty hook shows the real dialog again.
    using Hook = std::function<bool(QPrinter &)>;
    static void setHook(Hook hook);

private:
    friend class Printer;
    std::unique_ptr<QPrinter> m_printer;
    std::vector<std::vector<QStringList>> m_documents;
};

// One printed page: its lines from the top, each as the text the report wrote.
using PrinterPage = QStringList;

// Draws one page of lines into a printable area: every character at its CP932 byte column
// × the half cell (width ÷ 112), line pitch height ÷ 75, in the given font family; a line
// is clipped at the area's right edge, never wrapped. A page of more than 75 lines is drawn
// whole at the pitch height ÷ its line count. The printer and the preview share it.
void paintPrinterPage(QPainter &painter, const QRectF &area, const PrinterPage &page, const QString &fontName);

// A line printer over a print dialog's choice, as the reports write to it: lines are kept
// per page and drawn when the document ends. Positions are twips from the printable
// area's top left corner. Every document printed is also kept by the dialog (documents()).
class Printer {
public:
    static constexpr int kColumns = 112; // half-width cells across the printable width
    static constexpr int kLines = 75;    // lines down the printable height

    explicit Printer(PrintDialog &dialog);
    ~Printer();
    Printer(const Printer &) = delete;
    Printer &operator=(const Printer &) = delete;

    QString FontName() const { return m_fontName; }
    void setFontName(const QString &name) { m_fontName = name; }
    int Copies() const { return m_copies; }
    void setCopies(int copies) { m_copies = copies; }
    QPageLayout::Orientation Orientation() const { return m_orientation; }
    void setOrientation(QPageLayout::Orientation orientation) { m_orientation = orientation; }

    // The position of the next line: CurrentY picks the nearest row, CurrentX the starting
    // column (whole half cells of blanks in front of the text).
    int CurrentX() const { return m_currentX; }
    void setCurrentX(int twips) { m_currentX = twips; }
    int CurrentY() const;
    void setCurrentY(int twips);

    // Writes one line at the current position and moves to the start of the next row.
    void Print(const QString &line);
    // Ends the page in hand; the next line starts a new one.
    void NewPage();
    // Sends the document's pages to the printer or file. False when that failed; then
    // errorText() says why and nothing of the document is kept for a later try.
    bool EndDoc();
    // Drops the document in hand without printing it.
    void KillDoc();

    QString errorText() const { return m_error; }
    // The printer's name, or the PDF file's path.
    QString targetName() const;

    // The pages of the document in hand.
    const std::vector<PrinterPage> &pages() const { return m_pages; }

private:
    double linePitchTwips() const;
    double halfCellTwips() const;
    bool begin();

    PrintDialog &m_dialog;
    QPrinter &m_printer;
    std::unique_ptr<QPainter> m_painter; // open across documents that go to one file
    QString m_fontName;
    int m_copies = 1;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    int m_currentX = 0;
    int m_row = 0;
    std::vector<PrinterPage> m_pages{PrinterPage{}};
    QString m_error;
};

} // namespace ui
