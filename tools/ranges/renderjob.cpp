#include "renderjob.h"

#include <QMetaObject>
#include <QPointer>

#include "tabulo/chartpack/render.h"

namespace ranges {

RenderJob::~RenderJob() {
    if (thread_.joinable()) thread_.join();
}

bool RenderJob::start(const chartpack::ChartPack& pack, const QString& folder) {
    if (running_) return false;
    if (thread_.joinable()) thread_.join();
    running_ = true;
    thread_ = std::thread([this, pack, folder] {
        bool ok = true;
        QString summary;
        try {
            const auto report = chartpack::writePack(pack, folder, 0, [this](int done, int total) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { emit progress(done, total); },
                    Qt::QueuedConnection);
            });
            summary = QStringLiteral("%1 charts written, %2 unchanged in %3/img")
                          .arg(report.written.size())
                          .arg(report.unchanged)
                          .arg(folder);
            if (report.untouched > 0)
                summary += QStringLiteral("; %1 charts of spots the file lacks left as they were")
                               .arg(report.untouched);
        } catch (const std::exception& e) {
            ok = false;
            summary = QString::fromStdString(e.what());
        }
        QMetaObject::invokeMethod(
            this,
            [this, ok, summary] {
                running_ = false;
                emit finished(ok, summary);
            },
            Qt::QueuedConnection);
    });
    return true;
}

}  // namespace ranges
