#pragma once
// Long work watched by the dialog service's progress dialog: the dialog
// starts it once it listens, shows what it reports and asks it to stop when
// the user cancels. The signals may be emitted from any thread.

#include <QObject>

namespace dot11b::gui {

class ProgressTask : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts the work; called once.
    virtual void start() = 0;
    // Asks the work to stop early; it still ends with finished().
    virtual void cancel() = 0;

signals:
    void sent(qint64 bytes, qint64 total);
    void finished();
};

}  // namespace dot11b::gui
