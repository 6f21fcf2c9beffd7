#pragma once

#include "link/LinkPort.h"

#include <QObject>
#include <QString>
#include <cstddef>

namespace ornis {

class TransferEngine;

// A port of the exchange link living in the Qt event loop: it announces arrivals, the
// answer timer and fatal failures as signals on the thread that owns it.
class QtLinkPort : public QObject, public LinkPort
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void bytesArrived(std::size_t count);
    void answerTimerFired();
    // The port failed for good (adapter unplugged, far end gone); it is closed already.
    void portFailed(const QString &message);

protected:
    // Announces a fatal failure by portFailed() from the event loop, as it may have come
    // inside a call of the engine, which must not be re-entered; not when the port is
    // opened or closed again before (newOpening()).
    void announceFailureLater(const QString &message);
    // An opening or a closing: failures announced before it are old news.
    void newOpening() { ++openings_; }
    // What a call on a closed port fails with: the failure that closed it, else that the
    // port `name` is not open.
    [[nodiscard]] static Status notOpenStatus(const QString &failure, const QString &name);

private:
    unsigned openings_ = 0;
};

// Delivers the port's notifications to the engine for as long as the port lives, and as
// long as `context` lives when one is given (the owner of the engine, if the engine may
// die before the port).
void connectPortToEngine(QtLinkPort &port, TransferEngine &engine, QObject *context = nullptr);

} // namespace ornis
