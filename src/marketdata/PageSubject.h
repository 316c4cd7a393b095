#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// What a quote page says it is about: the stock code it writes next to the stock's name.
// A code is four digits in brackets: "(7203)", "[7203]", "[7203.T]" (with the site's
// market letters), "<7203>", "&LT;7203&GT;" or "【7203】", each also in full-width forms
// ("（７２０３）", "［7203.T］"), blanks inside the brackets aside.

// The code of a prepared text that is one bracketed code as a whole; nothing for any other
// text.
std::optional<QString> bracketedCode(QStringView text);

// The codes that the title and the main headings (<h1>) of a prepared page (the
// page text upper-cased, double quotes removed) name, in page order. A heading runs to its
// end tag; one left open ends at the next tag of a heading or of the title, or at the end
// of the text, as a browser ends it. Time is linear in the text's length.
QStringList headingCodes(QStringView prepared);

// The years a page may name in its headings, first to last: a heading's "(2007)" is read
// as a year, not as a code, when it falls in them.
struct YearSpan {
    int first = 0;
    int last = 0;
    bool holds(int year) const { return year >= first && year <= last; }
};

// Whether the title or a main heading of a prepared page names a stock other than `code`:
// a code that is neither `code` nor a year of `years`. A page whose headings name the
// asked stock beside another is another stock's too: it cannot be told whose it is.
bool namesOtherStock(QStringView prepared, const QString &code, YearSpan years);
