#include "trading/modBrandGrid.h"

#include "core/modGlobal.h"
#include "core/modLookup.h"
#include "platform/text/Format.h"
#include "platform/ui/FlexGrid.h"

namespace {

enum Column { CodeColumn, MarketColumn, NameColumn, CloseColumn, VolumeColumn, ColumnCount };

} // namespace

void setBrandGridHeader(ui::FlexGrid &grid)
{
    grid.Clear();
    grid.setCols(ColumnCount);
    grid.setRows(2);
    grid.setRow(0);
    const int widths[ColumnCount] = {0, 0, 2400, 1000, 1400};
    for (int c = 0; c < ColumnCount; ++c)
        grid.setColWidth(c, widths[c]);
    grid.setColAlignment(NameColumn, ui::flexAlignLeftCenter);
    grid.setTextMatrix(0, NameColumn, QStringLiteral("　　　　　銘柄"));
    grid.setColAlignment(CloseColumn, ui::flexAlignRightCenter);
    grid.setTextMatrix(0, CloseColumn, QStringLiteral("終値　"));
    grid.setColAlignment(VolumeColumn, ui::flexAlignRightCenter);
    grid.setTextMatrix(0, VolumeColumn, QStringLiteral("出来高　　"));
}

void appendBrandGridRow(ui::FlexGrid &grid, const BrandGridRow &row)
{
    const int r = grid.Rows() - 1;
    grid.setRow(r);
    grid.setTextMatrix(r, CodeColumn, row.code);
    grid.setTextMatrix(r, MarketColumn, row.market);
    grid.setTextMatrix(r, NameColumn,
                       row.code + QStringLiteral(":") + row.companyName.left(6) + QStringLiteral(" (") +
                           row.marketName.left(2) + QStringLiteral(")"));
    grid.setTextMatrix(r, CloseColumn, text::formatThousands(row.close));
    grid.setTextMatrix(r, VolumeColumn, text::formatThousands(double(row.volume)));
    grid.setRows(grid.Rows() + 1);
}

int addBrandGridRow(ui::FlexGrid &grid, const QString &code, const QString &market)
{
    KabukaInfo info;
    getKabukaInfo(code, market, gdtLastKabukaDate, info);
    appendBrandGridRow(grid, {code, market, info.companyName, info.marketName, info.close, info.volume});
    return 1;
}
