#pragma once

#include <QApplication>

// The application object. An error that escapes an event handler ends up here: it is
// logged, shown to the user, and the program ends in order instead of crashing.
class NimbraApplication : public QApplication {
    Q_OBJECT
public:
    NimbraApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // Ends the program on an error. The first is logged and shown; one that comes while the
    // program ends is logged only: the caller of a nested event loop (a window's, a yield
    // in a long job) in which the first came goes on and fails again the same way, and the
    // user is told once.
    void endOnError(const QString &description);
    // Whether an error is ending the program: a start-up whose window loop saw one must not
    // go on into the event loop.
    bool endingOnError() const { return m_endingOnError; }
    // A run of the program begins with no error ending it (the test programs run it more
    // than once in one process).
    void beginRun() { m_endingOnError = false; }

private:
    bool m_endingOnError = false;
};

// Stops the windows' timers, then logs (when the log is open) and shows an error that ends
// the program.
void reportFatalError(const QString &description);
