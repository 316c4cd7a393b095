#pragma once

#include <QColor>
#include <QString>
#include <QTableWidget>
#include <QVector>

namespace ui {

// Column alignments of the grid (each vertically centred); general puts numbers right and
// other text left.
enum FlexAlignment : int {
    flexAlignLeftCenter = 1,
    flexAlignCenterCenter = 4,
    flexAlignRightCenter = 7,
    flexAlignGeneral = 9,
};

// Mouse buttons and shift keys as MouseDown reports them.
enum FlexMouseButton : int { flexLeftButton = 1, flexRightButton = 2, flexMiddleButton = 4 };
enum FlexShiftMask : int { flexShiftMask = 1, flexCtrlMask = 2, flexAltMask = 4 };

// The program's one list grid. Row 0 is the header row (one fixed row that never
// scrolls); rows 1 to Rows - 1 hold data; there is no fixed column. Cells are addressed
// by (row, column) with the header included, so TextMatrix(0, c) is a header text.
//
// The grid is data as well as display: a column of width 0 is hidden but its cells keep
// the texts that code reads, and everything works the same on a grid that is not shown.
// Cells are never edited by the user. Setting Row, Col or ColSel from code emits no signal
// of this class; only a mouse press on a data cell sends MouseDown, after making the
// pressed cell (left button) or the pressed row (right button) current. A press on the
// header or outside the cells sends nothing.
class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget *parent = nullptr);

    // Row count with the header row. Growing adds empty rows, shrinking drops the last
    // ones; at least the header row stays.
    int Rows() const { return rowCount() + 1; }
    void setRows(int rows);
    int Cols() const { return columnCount(); }
    void setCols(int cols);
    int FixedRows() const { return 1; }

    // The current cell, and the column where the selection of the current row ends; the
    // cells between them are highlighted, the current cell is not. Setting Col also moves
    // ColSel to it. Values outside the grid are ignored.
    int Row() const { return m_row; }
    void setRow(int row);
    int Col() const { return m_col; }
    void setCol(int col);
    int ColSel() const { return m_colSel; }
    void setColSel(int col);

    // The text of the current cell.
    QString Text() const { return TextMatrix(m_row, m_col); }
    void setText(const QString &text) { setTextMatrix(m_row, m_col, text); }
    // Empty text outside the grid; writing outside the grid is ignored.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);

    // Widths in twips; 0 hides the column.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);

    // The alignment of a column's data cells. A header text takes the alignment that its
    // column has when the text is written.
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    // Heights in twips; row 0 is the header row.
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips);

    // Colours of the current cell; an invalid colour means the grid's default.
    QColor CellBackColor() const { return cellColour(Qt::BackgroundRole); }
    void setCellBackColor(const QColor &colour) { setCellColour(Qt::BackgroundRole, colour); }
    QColor CellForeColor() const { return cellColour(Qt::ForegroundRole); }
    void setCellForeColor(const QColor &colour) { setCellColour(Qt::ForegroundRole, colour); }

    // Empties every cell's text, header included; rows, widths and colours stay.
    void Clear();
    // Removes one data row; the rows below move up. The header row cannot be removed.
    void RemoveItem(int row);

    // The cell under the pointer at the last mouse press.
    int MouseRow() const { return m_mouseRow; }
    int MouseCol() const { return m_mouseCol; }

signals:
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x and y in twips.
    void MouseDown(int button, int shift, int x, int y);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool isCell(int row, int col) const;
    QTableWidgetItem *cell(int row, int col);
    const QTableWidgetItem *cell(int row, int col) const;
    QColor cellColour(int role) const;
    void setCellColour(int role, const QColor &colour);
    Qt::Alignment alignmentOf(int col, const QString &text) const;
    void showSelection();

    int m_row = 0;
    int m_col = 0;
    int m_colSel = 0;
    int m_mouseRow = 0;
    int m_mouseCol = 0;
    int m_headerHeight = 0;    // pixels
    QVector<int> m_alignments; // per column
    QVector<int> m_widths;     // per column, twips; -1 until set
};

} // namespace ui
