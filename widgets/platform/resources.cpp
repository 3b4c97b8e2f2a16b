#include "tabulo/widgets/resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QString>

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
    if (name.isEmpty()) return QString();
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

// The icon files are PNGs: naming the format spares probing every image
// plugin (and loading each of them) for the first icon of the program.
void AddPng(QIcon& icon, const QString& file) {
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (reader.read(&image)) icon.addPixmap(QPixmap::fromImage(std::move(image)));
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
    QIcon icon;
    const QString folder = FindEntry(root, qname, QDir::Dirs | QDir::NoDotAndDotDot);
    if (!folder.isEmpty()) {
        const QDir dir(folder);
        for (const QString& entry : dir.entryList({QStringLiteral("*.png")}, QDir::Files))
            AddPng(icon, dir.filePath(entry));
        return icon;
    }
    const QString file = FindEntry(root, qname, QDir::Files, QStringLiteral(".png"));
    if (!file.isEmpty()) AddPng(icon, file);
    return icon;
}

void SetResourceRoot(std::string_view root) {
    Root() = root.empty() ? QStringLiteral(":/tabulo") : ToQString(root);
}
