#include "engine/ResumeStore.h"

#include "platform/BoundedFileRead.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

// The file is ours and small; anything larger was not written by this program.
constexpr qint64 kMaxFileBytes = 1024 * 1024;

QByteArray KeyBytes(const QString &key)
{
    return key.toUtf8();
}

bool WritableOnOneLine(const QByteArray &key)
{
    return !key.isEmpty() && !key.contains('\n') && !key.contains('\r');
}

} // namespace

ResumeStore::ResumeStore(QString file) : m_file(std::move(file)) {}

std::vector<ResumeStore::Place> ResumeStore::Load() const
{
    std::vector<Place> places;
    QByteArray contents;
    if (!ReadRegularFile(m_file, kMaxFileBytes, contents)) {
        return places;
    }
    for (const QByteArray &line : contents.split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        bool isNumber = false;
        const qint64 seconds = line.left(tab).toLongLong(&isNumber);
        const QByteArray key = line.mid(tab + 1);
        const bool known = std::any_of(places.begin(), places.end(),
                                       [&key](const Place &place) { return place.first == key; });
        if (tab > 0 && isNumber && seconds > 0 && WritableOnOneLine(key) && !known &&
            places.size() < static_cast<size_t>(kMaxPlaces)) {
            places.emplace_back(key, seconds);
        }
    }
    return places;
}

bool ResumeStore::Save(const std::vector<Place> &places) const
{
    QDir().mkpath(QFileInfo(m_file).path());
    QSaveFile output(m_file);
    if (!output.open(QIODevice::WriteOnly)) {
        return false;
    }
    for (const auto &[key, seconds] : places) {
        output.write(QByteArray::number(seconds) + '\t' + key + '\n');
    }
    return output.commit();
}

std::optional<qint64> ResumeStore::PositionFor(const QString &key) const
{
    const QByteArray wanted = KeyBytes(key);
    for (const auto &[stored, seconds] : Load()) {
        if (stored == wanted) {
            return seconds;
        }
    }
    return std::nullopt;
}

bool ResumeStore::Remember(const QString &key, qint64 positionSeconds, qint64 lengthSeconds)
{
    const QByteArray bytes = KeyBytes(key);
    if (!WritableOnOneLine(bytes)) {
        return false;
    }
    if (lengthSeconds < kShortestSeconds || positionSeconds < kStartMarginSeconds ||
        positionSeconds > lengthSeconds - kEndMarginSeconds) {
        return Forget(key);
    }
    std::vector<Place> places = Load();
    places.erase(std::remove_if(places.begin(), places.end(),
                                [&bytes](const Place &place) { return place.first == bytes; }),
                 places.end());
    places.insert(places.begin(), {bytes, positionSeconds});
    if (places.size() > static_cast<size_t>(kMaxPlaces)) {
        places.resize(kMaxPlaces);
    }
    return Save(places);
}

bool ResumeStore::Forget(const QString &key)
{
    const QByteArray bytes = KeyBytes(key);
    std::vector<Place> places = Load();
    const auto kept = std::remove_if(places.begin(), places.end(),
                                     [&bytes](const Place &place) { return place.first == bytes; });
    if (kept == places.end()) {
        return false;
    }
    places.erase(kept, places.end());
    return Save(places);
}
