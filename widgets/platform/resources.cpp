#include "tabulo/widgets/resources.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QStyle>
#include <QStyleOption>
#include <memory>
#include <vector>

namespace {

QString& Root() {
    static QString root = QStringLiteral(":/tabulo");
    return root;
}

QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The entry of the folder whose name (or, with a suffix, whose base name and
// suffix) matches without regard to case; empty when none does.
QString FindEntry(const QString& folder, const QString& name, QDir::Filters filters,
                  const QString& suffix = QString()) {
    // A name is one entry of the folder, never a path.
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) return QString();
    const QString wanted = name + suffix;
    // The name as written is looked up directly; only a name in another case
    // pays for listing the folder.
    const QFileInfo exact(folder + QLatin1Char('/') + wanted);
    if (exact.exists() && (filters.testFlag(QDir::Dirs) ? exact.isDir() : exact.isFile()))
        return exact.filePath();
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(filters, QDir::Name))
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    return QString();
}

// An icon of PNG files, one size each, read when a size is first asked for:
// the window manager gets the small sizes with the main window and the large
// ones after its first paint, and reading them all up front cost a tenth of
// building the main window. The size of each file comes from its header.
class TPngIconEngine : public QIconEngine {
public:
    // Adds the file when it is a PNG with a sane size; false otherwise.
    bool Add(const QString& file) {
        QImageReader reader(file, "png");
        // Naming the format spares probing (and loading) every image plugin.
        reader.setAutoDetectImageFormat(false);
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide) return false;
        entries_.push_back({file, size, QPixmap(), false});
        return true;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        Entry* e = best(size);
        if (!e) return QPixmap();
        if (!e->read) {
            e->read = true;
            QImageReader reader(e->file, "png");
            reader.setAutoDetectImageFormat(false);
            QImage image;
            if (reader.read(&image)) e->pixmap = QPixmap::fromImage(std::move(image));
        }
        QPixmap pm = e->pixmap;
        if (pm.isNull()) return pm;
        if (pm.width() > size.width() || pm.height() > size.height())
            pm = pm.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            if (QApplication::style())
                pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        return pm;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const Entry* e = best(size);
        return e ? e->size.scaled(e->size.boundedTo(size), Qt::KeepAspectRatio) : QSize();
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const QPixmap pm = pixmap(rect.size(), mode, state);
        if (pm.isNull()) return;
        QRect target(QPoint(), pm.size());
        target.moveCenter(rect.center());
        painter->drawPixmap(target, pm);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes;
        if (mode != QIcon::Normal || state != QIcon::Off) return sizes;
        for (const Entry& e : entries_) sizes << e.size;
        return sizes;
    }
    bool isNull() override { return entries_.empty(); }
    QIconEngine* clone() const override { return new TPngIconEngine(*this); }
    QString key() const override { return QStringLiteral("TPngIconEngine"); }

private:
    static constexpr int kMaxSide = 1024;
    struct Entry {
        QString file;
        QSize size;
        QPixmap pixmap;
        bool read;
    };
    // The smallest picture that covers the size, else the largest there is.
    Entry* best(const QSize& size) {
        auto covers = [&size](const Entry& e) {
            return e.size.width() >= size.width() && e.size.height() >= size.height();
        };
        auto area = [](const Entry& e) { return qint64(e.size.width()) * e.size.height(); };
        Entry* found = nullptr;
        for (Entry& e : entries_) {
            if (!found || (covers(e) ? !covers(*found) || area(e) < area(*found)
                                     : !covers(*found) && area(e) > area(*found)))
                found = &e;
        }
        return found;
    }
    std::vector<Entry> entries_;
};

QIcon IconOf(const QStringList& files) {
    auto engine = std::make_unique<TPngIconEngine>();
    bool any = false;
    for (const QString& file : files) any = engine->Add(file) || any;
    return any ? QIcon(engine.release()) : QIcon();
}

}  // namespace

std::string ResourceText(std::string_view name) {
    const QString path = FindEntry(Root() + QStringLiteral("/text"), ToQString(name), QDir::Files);
    if (path.isEmpty()) return std::string();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::string();
    const QByteArray bytes = file.readAll();
    const qsizetype zero = bytes.indexOf('\0');
    return std::string(bytes.constData(), static_cast<std::size_t>(zero < 0 ? bytes.size() : zero));
}

QIcon ResourceIcon(std::string_view name) {
    const QString root = Root() + QStringLiteral("/icon");
    const QString qname = ToQString(name);
    const QString folder = FindEntry(root, qname, QDir::Dirs | QDir::NoDotAndDotDot);
    if (!folder.isEmpty()) {
        const QDir dir(folder);
        QStringList files;
        // The suffix compared by hand: a name filter compiles a regular
        // expression, a fifth of the icon's cost on the way to the first paint.
        for (const QString& entry : dir.entryList(QDir::Files, QDir::Name))
            if (entry.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
                files << dir.filePath(entry);
        return IconOf(files);
    }
    const QString file = FindEntry(root, qname, QDir::Files, QStringLiteral(".png"));
    return file.isEmpty() ? QIcon() : IconOf({file});
}

void SetResourceRoot(std::string_view root) {
    Root() = root.empty() ? QStringLiteral(":/tabulo") : ToQString(root);
}
