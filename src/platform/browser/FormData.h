#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// What a form sends: its data set and the urlencoded body.
namespace browser {

class Node;

using FormDataSet = QList<QPair<QString, QString>>;

// The form's data set in tree order: the current state of its enabled, named controls
// (ticked boxes and radios, the selected options, typed values), the submitter's own name
// and value, an image submitter as name.x and name.y.
FormDataSet formDataSet(const Node &form, const Node *submitter);

// application/x-www-form-urlencoded in the page's code (an iconv name): letters, digits
// and "*-._" stay, a blank becomes "+", every other byte "%XX".
QByteArray urlEncodedForm(const FormDataSet &data, const QByteArray &charset);

} // namespace browser
