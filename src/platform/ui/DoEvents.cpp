#include "ui/DoEvents.h"

#include <QCoreApplication>

namespace ui {
namespace {
constexpr qint64 kYieldIntervalMs = 50;
}

void doEvents()
{
    QCoreApplication::processEvents();
}

void DoEventsPacer::maybeYield()
{
    if (m_since.elapsed() >= kYieldIntervalMs) {
        doEvents();
        m_since.restart();
    }
}

} // namespace ui
