#pragma once

#include <QPlainTextEdit>

// The main window's view of the broker page (webOrder): the text of the page the browser
// completed last, read-only. Form values are not shown, so a typed password never is.
namespace browser {

class Browser;
class Node;

class BrowserView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit BrowserView(Browser &browser, QWidget *parent = nullptr);

    Browser &browser() const { return m_browser; }

private:
    void showPage();

    Browser &m_browser;
};

// The page's text as a reader sees it: blocks and rows on their own lines, blanks folded.
QString pageText(const Node &body);

} // namespace browser
