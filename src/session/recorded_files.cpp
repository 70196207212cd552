#include "session/recorded_files.h"

#include "session/file_operations.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <stdexcept>

namespace {

void setText(QObject &component, const char *property, const QString &text)
{
    // The texts go by name through the component's property interface.
    if (!component.setProperty(property, text))
        //: %1 names a tag field as the tag component knows it ("infoTitle").
        throw std::runtime_error(QCoreApplication::translate("RecordedFiles", "Cannot set %1")
                                     .arg(QLatin1String(property))
                                     .toStdString());
}

}  // namespace

QString RecordedFiles::Entry::folder() const
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString RecordedFiles::Entry::name() const
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

RecordedFiles::RecordedFiles(engine::IEngineFactory &engine, QObject *parent)
    : QObject(parent), m_engine(engine), m_information(engine.createInformation(QStringLiteral("information")))
{
    m_information->SetInfoFlag(true);
}

RecordedFiles::~RecordedFiles() = default;

void RecordedFiles::add(const QString &path)
{
    // Measured before the row exists, so a failure leaves no half-filled row behind.
    m_information->LoadFromFile(path);
    Entry e{path, m_information->GetFileSize(), m_information->GetDuration()};
    m_entries.append(e);
    emit rowAdded(int(m_entries.size()) - 1);
}

void RecordedFiles::removeAt(int row)
{
    if (row < 0 || row >= m_entries.size())
        return;
    // The selection goes first: nothing selects a neighbour in the removed row's place.
    if (m_selected >= 0)
        select(-1);
    m_entries.removeAt(row);
    emit rowRemoved(row);
}

QString RecordedFiles::rename(int row, const QString &typedName)
{
    if (typedName.isEmpty())
        return tr("new name can not be blank!");
    if (row < 0 || row >= m_entries.size())
        return QString();
    Entry &e = m_entries[row];
    const QString oldName = e.name();
    const QString newName = renamedFileName(typedName, oldName);
    if (newName.contains(QLatin1Char('/')))
        return tr("Cannot rename to %1: a file name cannot contain \"/\".").arg(newName);
    const QString from = e.path;
    const QString to = e.folder() + newName;
    if (to != from) {
        const DiskResult result = renameWithoutReplacing(from, to);
        if (result.outcome == DiskResult::NameTaken)
            return tr("Cannot rename to %1: a file of that name already exists.").arg(newName);
        if (result.outcome != DiskResult::Done)
            throw std::runtime_error(
                //: %1 is a file's path, %2 its new name, %3 the system's reason.
                tr("Cannot rename %1 to %2: %3").arg(from, newName, result.reason).toStdString());
    }
    e.path = to;
    emit rowChanged(row);
    if (m_current == from)
        setCurrentFile(to);
    if (to != from)
        emit fileRenamed(from, to);
    return QString();
}

void RecordedFiles::deleteFromDisk(int row)
{
    if (row < 0 || row >= m_entries.size())
        return;
    const QString path = m_entries.at(row).path;
    const DiskResult result = ::deleteFromDisk(path);
    if (result.outcome == DiskResult::Failed)
        //: %1 is a file's path, %2 the system's reason.
        throw std::runtime_error(tr("Cannot delete %1: %2").arg(path, result.reason).toStdString());
    // Done, or the file was gone already: either way it is no longer on the disk.
    removeAt(row);
}

QString RecordedFiles::selectedPath() const
{
    return m_selected >= 0 ? m_entries.at(m_selected).path : QString();
}

void RecordedFiles::select(int row)
{
    if (row < -1 || row >= m_entries.size())
        row = -1;
    m_selected = row;
    if (row >= 0)
        setCurrentFile(m_entries.at(row).path);
    emit selectionChanged(row);
}

void RecordedFiles::setCurrentFile(const QString &path)
{
    m_current = path;
    emit currentFileChanged(path);
}

QString RecordedFiles::fileToPlay() const
{
    const QString selected = selectedPath();
    return selected.isEmpty() ? m_current : selected;
}

QString RecordedFiles::genreName(int number)
{
    return m_information->GetGenreName(number);
}

engine::IAudioFile2 &RecordedFiles::markerFile()
{
    if (!m_markerFile) {
        m_markerFile = m_engine.createFile(QStringLiteral("markerFile"));
        m_markerFile->SetActive(true);
    }
    return *m_markerFile;
}

RecordedFiles::FileMarkers RecordedFiles::readMarkers(const QString &path)
{
    FileMarkers found;
    try {
        engine::IAudioFile2 &file = markerFile();
        file.Open(path, 0, 1);
        found.sampleRate = file.GetErrorCode() == 0 ? file.GetFormatValueA() : 0;
        file.Close();
        if (found.sampleRate > 0)
            found.markers = file.GetMarkers(path);
    } catch (const std::exception &) {
        found.markers.clear();
    }
    return found;
}

void RecordedFiles::writeMarkers(const QString &path, const std::vector<engine::FileMarker> &markers)
{
    engine::IAudioFile2 &file = markerFile();
    if (file.GetMarkers(path) != markers)
        file.SetMarkers(path, markers);
}

FileTags RecordedFiles::readTags(const QString &path)
{
    m_information->LoadFromFile(path);
    FileTags t;
    t.title = m_information->infoTitle();
    t.artist = m_information->infoArtist();
    t.album = m_information->infoAlbum();
    t.comments = m_information->infoComments();
    t.copyright = m_information->infoCopyright();
    t.genre = m_information->infoGenre();
    t.year = m_information->infoYear();
    t.track = m_information->infoTrack();
    return t;
}

RecordedFiles::Refused RecordedFiles::writeTags(const QString &path, const FileTags &t)
{
    engine::IAudioInformation2 &info = *m_information;
    // What the file holds now is what "changed" is measured against: a field shown as it
    // was read (a genre outside the numbered list, a full date) stays in the file as it is.
    // A file that cannot be read is reported by the save below.
    try {
        info.LoadFromFile(path);
    } catch (const std::exception &) {
    }
    setText(info, "infoTitle", t.title);
    setText(info, "infoArtist", t.artist);
    setText(info, "infoAlbum", t.album);
    info.setInfoGenre(t.genre);
    setText(info, "infoCopyright", t.copyright);
    setText(info, "infoComments", t.comments);
    try {
        info.setInfoYear(t.year);
    } catch (const std::exception &) {
        return Refused::Year;
    }
    try {
        info.setInfoTrack(t.track);
    } catch (const std::exception &) {
        return Refused::Track;
    }
    info.SaveToFile(path);
    return Refused::Nothing;
}

void RecordedFiles::setTagVersion(int version)
{
    m_information->SetTagVersion(short(version));
}

bool RecordedFiles::hasVorbisComments(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("flac") || suffix == QLatin1String("ogg") || suffix == QLatin1String("opus");
}

QString RecordedFiles::formatDescription(const QString &path)
{
    m_information->LoadFromFile(path);
    return m_information->GetFormatDescription();
}
