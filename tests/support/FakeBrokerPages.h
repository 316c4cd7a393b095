#pragma once

// The fake broker's pages as HTML text, in the shapes the broker driver reads.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace fakebroker {

struct Holding {
    QString code;
    QString shares;
    QString price;
};

// Wraps a page body with the head (Shift_JIS <meta>) and the footer; `reserved` false
// drops the "." after "All Rights Reserved", `maintenance` adds "サービス停止".
QString page(const QString &title, const QString &body, bool reserved, bool maintenance);

QString loginPage(bool failedLogin);
QString menuPage();
QString loginRequiredPage();
// The order form; `missing` names an element left out; `markets` are the exchange options.
QString orderFormPage(const QStringList &markets, const QString &missing);
// The acceptance page of an order, with or without its last row.
// `hiddenRefusal` adds an error block styled display:none that holds a refusal text.
QString acceptancePage(const QMap<QString, QString> &fields, const QString &orderNumber, bool lastRow,
                       bool hiddenRefusal = false);
// Where a page carries its message templates: in markup a browser never shows (a comment
// and a script string, a <template>, a block styled display:none), or shown as content.
enum class Templates { None, CommentAndScript, TemplateElement, DisplayNone, Shown };

// The acceptance text and summary table for order 777777 as message templates of a page.
QString acceptanceTemplates(const QMap<QString, QString> &fields, Templates where);
// The answer to a refused order: 1 an unrecognised reason, 2..5 the broker's texts.
QString refusalPage(int code);
// Shown when the estimate was not skipped.
QString estimatePage();
// `sampleCash`, when not empty, is shown in a hidden sample cash cell before the real one.
QString accountPage(bool cashLabel, const QString &cash, const QList<Holding> &holdings,
                    const QString &sampleCash = {});

} // namespace fakebroker
