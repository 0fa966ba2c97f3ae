#include "server/recording/RecordingOptions.h"

#include "document/ProfileStore.h"

#include <QStandardPaths>

namespace vexa::server::recording {

namespace {

constexpr const char* kRecordOption = "--record";

}  // namespace

bool RecordingSettings::isRecordingAtStart() const
{
    return profile::ReadInt(kSection, kRecordKey, 0, m_file) != 0;
}

QString RecordingSettings::folder() const
{
    const std::string folder = profile::ReadString(kSection, kFolderKey, "", m_file);
    return folder.empty() ? DefaultFolder() : QString::fromStdString(folder);
}

QString RecordingSettings::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/VexaDisplay/recordings");
}

RecordingOption ParseRecordingOption(const QStringList& arguments)
{
    RecordingOption result;
    const QString option = QString::fromLatin1(kRecordOption);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString folder;
        if (arguments[i] == option) {
            if (i + 1 < arguments.size())
                folder = arguments[++i];
        } else if (arguments[i].startsWith(option + QLatin1Char('='))) {
            folder = arguments[i].mid(option.size() + 1);
        } else {
            continue;
        }
        if (folder.isEmpty()) {
            result.error = QStringLiteral("%1 needs a folder").arg(option);
            return result;
        }
        result.folder = folder;
    }
    return result;
}

}  // namespace vexa::server::recording
