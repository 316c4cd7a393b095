#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// One execution as an execution-notice mail states it. The body's first line containing
// "約定日時" is line i; the fields stand at fixed distances below it:
//   i + 1  execution date and time to the minute, "YYYY-MM-DD HH:MM" or with "/"
//   i + 3  the broker's order number (digits)
//   i + 4  kind of trade: "買" buy or "売" sell; "現物" cash, "信用" margin
//   i + 6  stock code (four digits)
//   i + 9  executed shares, the text after the first ":" (commas removed, "株" allowed)
//   i + 10 executed price per share, the same cut ("円" allowed)
struct YakuzyouNotice {
    QDateTime executedAt;
    qint64 orderNo = 0;
    bool buy = true;
    int torihikiKubun = 3; // 1 cash, 2 margin, 3 any other kind
    QString code;
    qint64 shares = 0;
    double price = 0;
};

struct NoticeParse {
    bool isNotice = false;                // the body has a "約定日時" line
    std::optional<YakuzyouNotice> notice; // set when every field is valid
    QString problem;                      // why a notice's fields are not usable
};

// Reads the notice from the body's lines; no line beyond the body is read.
NoticeParse parseYakuzyouNotice(const QStringList &lines);

// The line after the first one containing "「認証パスワード」", its full-width spaces removed and
// then trimmed of blanks; std::nullopt when there is no such pair of lines.
std::optional<QString> authPasswordLine(const QStringList &lines);
