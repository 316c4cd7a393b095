#pragma once

#include <QObject>
#include <QTimer>

namespace ui {

// The timer control of a window: while Enabled it raises Tick (the control's Timer event) every Interval ms.
// Enabling it (also when it is already enabled) or changing its interval starts the
// interval anew. It runs on the event loop, or on the simulated clock when one is active
// at the moment it is enabled.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject *parent = nullptr);
    ~Timer() override;

    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

signals:
    void Tick();

private:
    void arm();
    void disarm();
    void fire();

    int m_interval = 0;
    bool m_enabled = false;
    QTimer m_timer;
    int m_simulatedId = 0; // the scheduled tick on the simulated clock, 0 for none
};

} // namespace ui
