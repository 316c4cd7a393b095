#include "platform/browser/FormData.h"

#include "platform/browser/Dom.h"
#include "platform/text/Cp932.h"

namespace browser {
namespace {

bool isDisabled(const Node &control)
{
    if (control.hasAttribute(QStringLiteral("disabled")))
        return true;
    for (const Node *up = control.parent(); up; up = up->parent())
        if (up->isElement("fieldset") && up->hasAttribute(QStringLiteral("disabled")))
            return true;
    return false;
}

void appendInput(const Node &input, const Node *submitter, FormDataSet &data)
{
    const QString name = input.attribute(QStringLiteral("name"));
    const QString type = input.inputType();
    if (type == QLatin1String("image")) {
        if (&input == submitter) {
            const QString prefix = name.isEmpty() ? QString() : name + u'.';
            data.append({prefix + u'x', QStringLiteral("0")});
            data.append({prefix + u'y', QStringLiteral("0")});
        }
        return;
    }
    if (name.isEmpty() || type == QLatin1String("reset") || type == QLatin1String("file"))
        return;
    if (type == QLatin1String("submit") || type == QLatin1String("button")) {
        if (&input == submitter)
            data.append({name, input.value()});
        return;
    }
    if (type == QLatin1String("checkbox") || type == QLatin1String("radio")) {
        if (input.checked())
            data.append({name, input.hasAttribute(QStringLiteral("value")) ? input.value() : QStringLiteral("on")});
        return;
    }
    data.append({name, input.value()});
}

// Every control of the page whose form is `form`, in tree order (not only its descendants:
// a form opened inside a table owns the controls that follow it).
void collect(const Node &node, const Node &form, const Node *submitter, FormDataSet &data)
{
    for (const auto &child : node.children()) {
        const Node &c = *child;
        if (!c.isElement())
            continue;
        const bool control =
            c.isElement("input") || c.isElement("button") || c.isElement("select") || c.isElement("textarea");
        if (!control) {
            collect(c, form, submitter, data);
            continue;
        }
        if (c.form() != &form || isDisabled(c))
            continue;
        const QString name = c.attribute(QStringLiteral("name"));
        if (c.isElement("input")) {
            appendInput(c, submitter, data);
        } else if (c.isElement("button")) {
            if (&c == submitter && c.hasAttribute(QStringLiteral("name")))
                data.append({name, c.attribute(QStringLiteral("value"))});
        } else if (c.isElement("select")) {
            if (c.hasAttribute(QStringLiteral("name")))
                for (const Node *option : c.options())
                    if (option->selected() && !option->hasAttribute(QStringLiteral("disabled")))
                        data.append({name, option->value()});
        } else if (c.hasAttribute(QStringLiteral("name"))) {
            QString value = c.value();
            value.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
            data.append({name, value});
        }
    }
}

void appendEncoded(QByteArray &out, const QByteArray &bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '*' || b == '-' ||
            b == '.' || b == '_') {
            out += ch;
        } else if (b == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 0x0F];
        }
    }
}

} // namespace

FormDataSet formDataSet(const Node &form, const Node *submitter)
{
    FormDataSet data;
    const Node *root = &form;
    while (root->parent())
        root = root->parent();
    collect(*root, form, submitter, data);
    return data;
}

QByteArray urlEncodedForm(const FormDataSet &data, const QByteArray &charset)
{
    const QByteArray code = charset.isEmpty() ? QByteArray("CP932") : charset;
    QByteArray out;
    for (const auto &[name, value] : data) {
        if (!out.isEmpty())
            out += '&';
        appendEncoded(out, text::encodeCharset(name, code.constData()));
        out += '=';
        appendEncoded(out, text::encodeCharset(value, code.constData()));
    }
    return out;
}

} // namespace browser
