#pragma once

#include <QApplication>

// The application object. An error that escapes an event handler ends up here: it is
// logged, shown to the user, and the program ends in order instead of crashing.
class NimbraApplication : public QApplication {
    Q_OBJECT
public:
    NimbraApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Logs (when the log is open) and shows an error that ends the program.
void reportFatalError(const QString &description);
