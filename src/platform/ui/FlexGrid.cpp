#include "platform/ui/FlexGrid.h"

#include "platform/text/VbText.h"
#include "platform/ui/Twips.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace ui {

FlexGrid::FlexGrid(QWidget *parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    // A text wider than its cell is cut at the cell's edge, never shortened to an ellipsis.
    setTextElideMode(Qt::ElideNone);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    m_headerHeight = verticalHeader()->defaultSectionSize();
    horizontalHeader()->setFixedHeight(m_headerHeight);
    setRows(2);
    setCols(2);
    // The arrow keys move the current cell as a click would, without a MouseDown.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
        if (row < 0 || col < 0)
            return;
        m_row = row + 1;
        m_col = m_colSel = col;
        showSelection();
    });
}

void FlexGrid::setRows(int rows)
{
    setRowCount(std::max(rows, 1) - 1);
    m_row = std::min(m_row, Rows() - 1);
    showSelection();
}

void FlexGrid::setCols(int cols)
{
    const int count = std::max(cols, 0);
    setColumnCount(count);
    m_alignments.resize(count, flexAlignGeneral);
    m_widths.resize(count, -1);
    for (int c = 0; c < count; ++c) {
        if (!horizontalHeaderItem(c))
            setHorizontalHeaderItem(c, new QTableWidgetItem);
    }
    m_col = std::clamp(m_col, 0, std::max(count - 1, 0));
    m_colSel = std::clamp(m_colSel, 0, std::max(count - 1, 0));
    showSelection();
}

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= Rows())
        return;
    m_row = row;
    showSelection();
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= Cols())
        return;
    m_col = col;
    m_colSel = col;
    showSelection();
}

void FlexGrid::setColSel(int col)
{
    if (col < 0 || col >= Cols())
        return;
    m_colSel = col;
    showSelection();
}

bool FlexGrid::isCell(int row, int col) const
{
    return row >= 0 && row < Rows() && col >= 0 && col < Cols();
}

QTableWidgetItem *FlexGrid::cell(int row, int col)
{
    if (row == 0)
        return horizontalHeaderItem(col);
    QTableWidgetItem *found = item(row - 1, col);
    if (!found) {
        found = new QTableWidgetItem;
        found->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        found->setTextAlignment(alignmentOf(col, {}));
        setItem(row - 1, col, found);
    }
    return found;
}

const QTableWidgetItem *FlexGrid::cell(int row, int col) const
{
    return row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    if (!isCell(row, col))
        return {};
    const QTableWidgetItem *found = cell(row, col);
    return found ? found->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    if (!isCell(row, col))
        return;
    QTableWidgetItem *target = cell(row, col);
    target->setText(text);
    target->setTextAlignment(alignmentOf(col, text));
}

Qt::Alignment FlexGrid::alignmentOf(int col, const QString &text) const
{
    switch (m_alignments.value(col, flexAlignGeneral)) {
    case flexAlignLeftCenter:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case flexAlignCenterCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case flexAlignRightCenter:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return (text::isNumeric(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
}

int FlexGrid::ColWidth(int col) const
{
    if (col < 0 || col >= Cols())
        return 0;
    const int stored = m_widths.at(col);
    return stored >= 0 ? stored : pixelsToTwips(columnWidth(col));
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= Cols())
        return;
    m_widths[col] = std::max(twips, 0);
    setColumnHidden(col, twips <= 0);
    if (twips > 0)
        setColumnWidth(col, twipsToPixels(twips));
}

int FlexGrid::ColAlignment(int col) const
{
    return m_alignments.value(col, flexAlignGeneral);
}

void FlexGrid::setColAlignment(int col, int alignment)
{
    if (col < 0 || col >= Cols())
        return;
    m_alignments[col] = alignment;
    for (int r = 0; r < rowCount(); ++r) {
        if (QTableWidgetItem *found = item(r, col))
            found->setTextAlignment(alignmentOf(col, found->text()));
    }
}

int FlexGrid::RowHeight(int row) const
{
    if (row == 0)
        return pixelsToTwips(m_headerHeight);
    if (row < 0 || row >= Rows())
        return 0;
    return pixelsToTwips(rowHeight(row - 1));
}

void FlexGrid::setRowHeight(int row, int twips)
{
    if (row < 0 || row >= Rows())
        return;
    const int pixels = std::max(twipsToPixels(twips), 0);
    if (row == 0) {
        m_headerHeight = pixels;
        horizontalHeader()->setFixedHeight(pixels);
    } else {
        QTableWidget::setRowHeight(row - 1, pixels);
    }
}

QColor FlexGrid::cellColour(int role) const
{
    const QTableWidgetItem *found = isCell(m_row, m_col) ? cell(m_row, m_col) : nullptr;
    return found ? found->data(role).value<QBrush>().color() : QColor();
}

void FlexGrid::setCellColour(int role, const QColor &colour)
{
    if (isCell(m_row, m_col))
        cell(m_row, m_col)->setData(role, colour.isValid() ? QVariant(QBrush(colour)) : QVariant());
}

void FlexGrid::Clear()
{
    for (int c = 0; c < Cols(); ++c) {
        if (QTableWidgetItem *header = horizontalHeaderItem(c))
            header->setText({});
        for (int r = 0; r < rowCount(); ++r) {
            if (QTableWidgetItem *found = item(r, c))
                found->setText({});
        }
    }
}

void FlexGrid::RemoveItem(int row)
{
    if (row < 1 || row >= Rows())
        return;
    removeRow(row - 1);
    m_row = std::min(m_row, Rows() - 1);
    showSelection();
}

void FlexGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int viewRow = rowAt(pos.y());
    const int col = columnAt(pos.x());
    if (viewRow < 0 || col < 0)
        return;
    m_mouseRow = viewRow + 1;
    m_mouseCol = col;
    int button = 0;
    if (event->button() == Qt::LeftButton) {
        button = flexLeftButton;
        m_row = m_mouseRow;
        m_col = m_colSel = col;
    } else if (event->button() == Qt::RightButton) {
        button = flexRightButton;
        m_row = m_mouseRow;
    } else if (event->button() == Qt::MiddleButton) {
        button = flexMiddleButton;
    }
    showSelection();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int shift = (modifiers & Qt::ShiftModifier ? flexShiftMask : 0) |
                      (modifiers & Qt::ControlModifier ? flexCtrlMask : 0) |
                      (modifiers & Qt::AltModifier ? flexAltMask : 0);
    emit MouseDown(button, shift, pixelsToTwips(pos.x()), pixelsToTwips(pos.y()));
}

// The second press of a double click is no new press: one MouseDown per double click.
void FlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

// Highlights the current row from Col to ColSel; the header row shows no selection.
void FlexGrid::showSelection()
{
    QItemSelectionModel *selection = selectionModel();
    if (!selection)
        return;
    const QSignalBlocker blocker(selection);
    selection->clearSelection();
    if (m_row < 1 || m_row >= Rows() || Cols() == 0) {
        viewport()->update();
        return;
    }
    // The current cell itself shows no highlight, only the cells from it to the selection
    // end do: a cell coloured by the code keeps its colour while it is current.
    const int first = std::min(m_col, m_colSel);
    const int last = std::max(m_col, m_colSel);
    const QModelIndex current = model()->index(m_row - 1, m_col);
    QItemSelection highlighted(model()->index(m_row - 1, first), model()->index(m_row - 1, last));
    highlighted.merge(QItemSelection(current, current), QItemSelectionModel::Deselect);
    selection->select(highlighted, QItemSelectionModel::Select);
    selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    viewport()->update();
}

} // namespace ui
