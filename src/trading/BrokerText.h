#pragma once

#include "platform/sys/Failure.h"

#include <QString>

// The rules by which broker pages are cut: by key texts, never parsed as documents.

// A broker page that is not as expected (a missing key, element or number); the message
// says what is missing. The driver counts it as a failed page step.
class BrokerPageError : public sys::Failure {
public:
    using sys::Failure::Failure;
};

// The text of `s` after the first `key`, moved on by the key's length in CP932 bytes (so a
// key of full-width characters lands beyond its end by as many characters). When the key is
// absent the cut drops the first (byte length - 1) characters.
QString advancePast(const QString &s, const QString &key);
// As advancePast, but an absent key fails (BrokerPageError).
QString advancePastFound(const QString &s, const QString &key);
// The text before the first `key`; an absent key fails (BrokerPageError).
QString takeUpTo(const QString &s, const QString &key);

// The leading number of `s` (blanks skipped, stops at the first other character, nothing
// gives 0), to the nearest whole number.
qint64 pageNumber(const QString &s);
// Whether `s` starts, after blanks, with a number: a cell that reads as "0" only because it
// holds no digit is not a number.
bool startsWithNumber(const QString &s);

// The page text the markers are searched in: upper case, without double quotes and "&NBSP;".
QString brokerPageText(const QString &innerHtml);
