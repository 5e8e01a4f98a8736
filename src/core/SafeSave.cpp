#include "SafeSave.h"

#include "QuillError.h"

#include <QDir>
#include <QSaveFile>
#include <memory>
#include <vector>

namespace {

[[noreturn]] void writeFailed(const QString& path, const QString& what, const QString& reason)
{
    throw QuillError(QStringLiteral("Cannot write the %1 \"%2\": %3."),
                         {what, QDir::toNativeSeparators(path), reason});
}

} // namespace

void writeFileSafely(const QString& path, const QByteArray& data, const QString& what)
{
    writeFilesSafely({{path, data}}, what);
}

void writeFilesSafely(const QList<std::pair<QString, QByteArray>>& files, const QString& what)
{
    std::vector<std::unique_ptr<QSaveFile>> open;
    for (const auto& [path, data] : files) {
        auto file = std::make_unique<QSaveFile>(path);
        if (!file->open(QIODevice::WriteOnly))
            writeFailed(path, what, file->errorString());
        if (file->write(data) != data.size() || !file->flush())
            writeFailed(path, what, file->errorString());
        open.push_back(std::move(file));
    }
    for (size_t i = 0; i < open.size(); ++i) {
        if (!open[i]->commit())
            writeFailed(files[qsizetype(i)].first, what, open[i]->errorString());
    }
}
