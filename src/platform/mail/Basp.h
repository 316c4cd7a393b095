#pragma once

#include <QByteArray>
#include <QString>

// The mail component: Japanese text-code conversion of downloaded pages, POP3 receiving,
// mail-file reading and SMTP sending. One instance lives for the run (gobjBASP).
namespace mail {

class Basp {
public:
    // The Japanese code a site writes its pages in when neither the HTTP header nor the
    // page itself names one.
    enum KconvCode : int { kcShiftJis = 1, kcEucJp = 2 };

    Basp() = default;

    // A downloaded page as text: in the charset its Content-Type header names, else the one
    // its <meta> names, else `siteCode`. Shift_JIS is read as CP932, as Windows reads it.
    QString kconv(const QByteArray &page, int siteCode, const QByteArray &contentType) const;
};

} // namespace mail
