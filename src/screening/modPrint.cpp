#include "screening/modPrint.h"

#include "core/modGlobal.h"
#include "core/modUtil.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "platform/sys/ProgramDir.h"
#include "platform/text/Format.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Printer.h"
#include "trading/modSizing.h"

#include <QListWidget>

namespace {

constexpr int kPageLines = 75;
const QString kFontName = QStringLiteral("ＭＳ ゴシック");

QString versionText()
{
    return QStringLiteral("V%1.%2.%3").arg(NIMBRA_VERSION_MAJOR).arg(NIMBRA_VERSION_MINOR).arg(NIMBRA_VERSION_PATCH);
}

QString todayText()
{
    return text::formatYmdSlash(sys::now().date());
}

void reportFailure(const QString &target)
{
    ui::msgBox(QStringLiteral("印刷できませんでした。") + QStringLiteral("\r\n") + target, ui::vbExclamation);
}

// The header of a simulation result page: kind 2 the first page's, kind 0 a later one's.
// Returns the number of lines printed.
int printSimuPage(ui::Printer &printer, int kind, int page, const BS &base)
{
    QStringList lines{QStringLiteral(" "),
                      QStringLiteral("出力日:") + todayText() + QStringLiteral("　ページ:") + QString::number(page),
                      QStringLiteral(" "),
                      QStringLiteral(" "),
                      QStringLiteral("■■■Tesmora(") + sys::exeName() + QStringLiteral(") ") + versionText() +
                          QStringLiteral("　株式投資一括シミュレーション結果"),
                      QStringLiteral(" "),
                      QStringLiteral(" ")};
    if (kind == 2)
        lines << QStringLiteral("▼基本情報")
              << QStringLiteral("投資元本:") + text::formatThousands(base.TousiGanpon) +
                     QStringLiteral("円　同時購入銘柄数:") + text::formatThousands(base.KounyuTensu) +
                     QStringLiteral("点")
              << QStringLiteral(" ");
    lines << printRule() << QStringLiteral("　");
    for (const QString &line : lines)
        printer.Print(line);
    return int(lines.size());
}

// Listing kinds of the trade history.
enum HistoryKind { ByDate = 1, ByStock = 2 };

int printHistoryHeader(ui::Printer &printer, HistoryKind kind, int page)
{
    const QString kindName = kind == ByDate ? QStringLiteral("日付順") : QStringLiteral("銘柄ごと");
    const QString columns =
        padByte(1, QStringLiteral("日付"), 10) + QStringLiteral("│") + padByte(1, QStringLiteral("銘柄"), 36) +
        QStringLiteral("│") + padByte(2, QStringLiteral("約定単価"), 16) + QStringLiteral("│") +
        padByte(2, QStringLiteral("約定株数"), 10) + QStringLiteral("│") + padByte(2, QStringLiteral("約定金額"), 20) +
        QStringLiteral("│") + padByte(2, QStringLiteral("売買"), 4);
    const QStringList lines{
        QStringLiteral(" "),
        QStringLiteral("出力日:") + todayText() + QStringLiteral("　ページ:") + QString::number(page),
        QStringLiteral(" "),
        QStringLiteral(" "),
        QStringLiteral("■■■Tesmora ") + versionText() + QStringLiteral("(") + sys::exeName() + QStringLiteral(")") +
            QStringLiteral("　株式投資売買実績(") + kindName + QStringLiteral(")"),
        QStringLiteral(" "),
        QStringLiteral(" "),
        columns};
    for (const QString &line : lines)
        printer.Print(printIndent() + line);
    printer.Print(printHistoryRule());
    return 9;
}

int printHistoryTotal(ui::Printer &printer, double total)
{
    printer.Print(printHistoryRule());
    printer.Print(printIndent() + QString(10, QLatin1Char(' ')) + QStringLiteral("│") +
                  padByte(1, QStringLiteral("損益計"), 36) + QStringLiteral("│") + QString(16, QLatin1Char(' ')) +
                  QStringLiteral("│") + QString(10, QLatin1Char(' ')) + QStringLiteral("│") +
                  padByte(2, text::formatThousands(total), 20) + QStringLiteral("│") + QString(4, QLatin1Char(' ')));
    return 2;
}

// One execution as the listings read it.
struct Execution {
    QString day;
    QString code;
    QString companyName;
    QString marketName;
    double price = 0;
    double shares = 0;
    bool buy = false;

    double amount() const { return price * shares; }
};

std::vector<Execution> readExecutions(HistoryKind kind)
{
    const QString order = kind == ByDate ? QStringLiteral(" order by 受付日時")
                                         : QStringLiteral(" order by a.銘柄コード,a.市場コード,a.売買区分,a.受付日時");
    db::Statement rows = gcnDB.prepare(
        QStringLiteral("select a.受付日時, a.銘柄コード, a.約定金額, a.約定株数, a.売買区分, b.市場名略称, c.会社名"
                       " from ttcontracthistory a,tmmarket b,tmbond c"
                       " where a.市場コード = b.市場コード"
                       " and a.銘柄コード = c.銘柄コード"
                       " and a.市場コード = c.市場コード") +
        order);
    std::vector<Execution> executions;
    while (rows.step())
        executions.push_back({text::formatYmdSlash(db::parseDate(rows.text(0))), rows.text(1), rows.text(6),
                              rows.text(5), rows.real(2), rows.real(3), rows.int64(4) == 1});
    return executions;
}

QString dataLine(const Execution &execution)
{
    const QString name =
        execution.companyName.left(12) + QStringLiteral("(") + execution.marketName.left(2) + QStringLiteral(")");
    return printIndent() + execution.day + QStringLiteral("│") + execution.code + QStringLiteral("：") +
           padByte(1, name, 30) + QStringLiteral("│") + padByte(2, text::formatThousands(execution.price), 16) +
           QStringLiteral("│") + padByte(2, text::formatThousands(execution.shares), 10) + QStringLiteral("│") +
           padByte(2, text::formatThousands(execution.amount()), 20) + QStringLiteral("│") +
           padByte(1, execution.buy ? QStringLiteral("買") : QStringLiteral("売"), 4);
}

// Prints one data line and breaks the page when it filled it.
void printHistoryLine(ui::Printer &printer, HistoryKind kind, const Execution &execution, int &page, int &counter)
{
    ++counter;
    printer.Print(dataLine(execution));
    if (counter >= kPageLines) {
        ++page;
        printer.NewPage();
        counter = printHistoryHeader(printer, kind, page);
    }
}

bool printHistoryByDate(ui::Printer &printer)
{
    int page = 1;
    int counter = printHistoryHeader(printer, ByDate, page);
    double total = 0;
    for (const Execution &execution : readExecutions(ByDate)) {
        total += execution.buy ? -execution.amount() : execution.amount();
        printHistoryLine(printer, ByDate, execution, page, counter);
    }
    total += double(getHoyuuKingaku(sysBS.StartDate));
    printHistoryTotal(printer, total);
    return printer.EndDoc();
}

bool printHistoryByStock(ui::Printer &printer)
{
    int page = 1;
    int counter = printHistoryHeader(printer, ByStock, page);
    double total = 0;
    bool lastWasSell = false;
    const std::vector<Execution> executions = readExecutions(ByStock);
    QString stock = executions.empty() ? QString() : executions.front().code;
    for (const Execution &execution : executions) {
        if (execution.code != stock) {
            // A stock whose last row is a buy was never sold: nothing realised yet.
            counter += printHistoryTotal(printer, lastWasSell ? total : 0);
            printer.Print(printHistoryRule());
            ++counter;
            stock = execution.code;
            total = 0;
        }
        total += execution.buy ? -execution.amount() : execution.amount();
        lastWasSell = !execution.buy;
        printHistoryLine(printer, ByStock, execution, page, counter);
    }
    printHistoryTotal(printer, lastWasSell ? total : 0);
    return printer.EndDoc();
}

} // namespace

QString printRule()
{
    return QString(99, QLatin1Char('-'));
}

QString printIndent()
{
    return QStringLiteral("　　　");
}

QString printHistoryRule()
{
    const auto bar = [](int count) { return QString(count, QChar(0x2500)); };
    const QString cross(QChar(0x253C));
    return printIndent() + bar(5) + cross + bar(18) + cross + bar(8) + cross + bar(5) + cross + bar(10) + cross +
           bar(2);
}

int printSimuResult(ui::PrintDialog &dialog, const QListWidget &lstResultData, const BS &base)
{
    if (!dialog.exec())
        return 0;
    ui::Printer printer(dialog);
    printer.setFontName(kFontName);
    int page = 1;
    int counter = printSimuPage(printer, 2, page, base);
    for (int i = 0; i < lstResultData.count(); ++i) {
        ++counter;
        printer.Print(lstResultData.item(i)->text());
        if (counter >= kPageLines) {
            ++page;
            printer.NewPage();
            counter = printSimuPage(printer, 0, page, base);
        }
    }
    if (printer.EndDoc())
        return 0;
    reportFailure(printer.targetName());
    return 1;
}

int printTradeHistory(ui::PrintDialog &dialog)
{
    if (!dialog.exec())
        return 0;
    ui::Printer printer(dialog);
    printer.setFontName(kFontName);
    printer.setCopies(1);
    printer.setOrientation(QPageLayout::Portrait);
    const bool byDate = printHistoryByDate(printer);
    const bool byStock = printHistoryByStock(printer);
    if (byDate && byStock)
        return 0;
    reportFailure(printer.targetName());
    return 1;
}
