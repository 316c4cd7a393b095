#pragma once

#include <QByteArray>

// Limits how deep a page's elements nest before the HTML parser sees the page, as browsers
// limit their trees (a few hundred levels): the parser's work on each tag grows with the
// depth, so a page of a hundred thousand nested elements would hold the program for many
// seconds, and every walk over the tree would go as deep.
//
// A quick scan follows the tags as the parser will nest them (void and raw-text elements,
// the end tags and the ends the HTML rules imply for paragraphs, list items, cells, rows and
// options). A start tag that would open an element deeper than the limit is left out with
// its end tag; the text inside stays, and so does a <form> (forms do not nest). A
// formatting element (b, font, ...) never closed is opened again by the parser in every
// block after it, so more than a dozen of them open at once (beyond three written the same,
// which the parser itself drops) are left out too. The scan errs towards counting too deep,
// never too shallow: a page a browser nests within the limit, its unclosed formatting
// within that dozen, comes back unchanged.
namespace browser {

struct NestingCapped {
    QByteArray html;
    bool capped = false; // some tags were left out
};

// `html` in UTF-8 (or any ASCII-compatible code).
NestingCapped capNesting(const QByteArray &html, int maxDepth);

} // namespace browser
