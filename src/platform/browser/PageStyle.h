#pragma once

#include <QHash>
#include <QList>
#include <QString>

// The part of a page's CSS the reader evaluates: whether an element is taken out of the
// page (display) or made invisible (visibility), by its inline style or by the simple rules
// of the page's own <style> blocks. CSS comments are removed and escapes decoded before
// anything is read, so "display:/**/none" and "display:n\6f ne" hide as in a browser.
//
// A rule is applied when each selector of its list is one element's: a tag, classes and an
// id ("p", ".ok", "#okMessage", "div.ok#m"). Rules with any other selector (descendant and
// child combinators, attributes, pseudo-classes, "*"), rules inside at-rules (@media,
// @supports, ...), style sheets of <link> elements and of <style> blocks for another
// medium are not evaluated. Where rules meet, the cascade decides as in a browser:
// important over normal, then an inline style over rules, then id, class and tag counts,
// then the later rule.
namespace browser {

class Node;

struct CssDeclaration {
    QString value; // lower case, without "!important"
    bool important = false;
};

// The declarations of a style attribute or a rule's block, by property in lower case: the
// last one counts, and an important one beats every plain one.
QHash<QString, CssDeclaration> cssDeclarations(const QString &block);

class PageStyle {
public:
    // Reads the rules of every <style> block under `root` that applies to the screen.
    explicit PageStyle(const Node &root);

    // The value the cascade gives `property` ("display" or "visibility") for an element, in
    // lower case without "!important"; empty when neither its style nor a rule sets it.
    QString value(const Node &element, QLatin1String property) const;

private:
    struct Compound {
        QString tag; // lower case; empty for any
        QString id;
        QStringList classes;
        int specificity = 0;
    };
    struct Rule {
        Compound selector;
        QHash<QString, CssDeclaration> declarations; // by property, lower case
        int order = 0;
    };

    void addSheet(const QString &css);
    void addRule(const QString &selectors, const QString &block);
    static bool matches(const Compound &selector, const Node &element);

    QList<Rule> m_rules;
    // Rules by the key an element must carry: "#id", ".class" or the tag.
    QHash<QString, QList<qsizetype>> m_byKey;
};

} // namespace browser
