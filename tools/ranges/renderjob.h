#pragma once
// Renders a whole pack on a thread of its own, so the window stays live;
// progress and the outcome arrive as queued signals on the GUI thread.

#include <QObject>
#include <QString>
#include <thread>

#include "tabulo/chartpack/rangefile.h"

namespace ranges {

class RenderJob : public QObject {
    Q_OBJECT
public:
    ~RenderJob() override;
    bool running() const { return running_; }
    // Starts rendering a copy of the pack into folder; false when one runs.
    bool start(const chartpack::ChartPack& pack, const QString& folder);

signals:
    void progress(int done, int total);
    // What was written, or why it failed.
    void finished(bool ok, const QString& summary);

private:
    std::thread thread_;
    bool running_ = false;
};

}  // namespace ranges
