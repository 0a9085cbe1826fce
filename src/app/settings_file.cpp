#include "app/settings_file.h"

#include "app/texts.h"
#include "core/binary_carrier.h"
#include "core/file_attributes.h"
#include "app/gbk_text.h"
#include "core/numbers.h"
#include "core/profile_file.h"

#include <QFile>

namespace penvox {

namespace {
std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
}  // namespace

QString SettingsFile::text(const QString& section, const QString& key) const {
    return fromGbk(profile::read(localPath(path_), toGbk(section), toGbk(key)));
}

long long SettingsFile::integer(const QString& section, const QString& key) const {
    return numbers::toInteger(profile::read(localPath(path_), toGbk(section), toGbk(key)));
}

bool SettingsFile::isTrue(const QString& section, const QString& key) const {
    return text(section, key) == texts::kTrue;
}

bool SettingsFile::isNotFalse(const QString& section, const QString& key) const {
    return text(section, key) != texts::kFalse;
}

void SettingsFile::write(const QString& section, const QString& key, const QString& value) const {
    profile::write(localPath(path_), toGbk(section), toGbk(key), toGbk(value));
}

void SettingsFile::writeFlag(const QString& section, const QString& key, bool value) const {
    write(section, key, value ? texts::kTrue : texts::kFalse);
}

void SettingsFile::writeInteger(const QString& section, const QString& key, long long value) const {
    write(section, key, QString::number(value));
}

std::string SettingsFile::bytes(const QString& section, const QString& key) const {
    return carrier::decode(profile::read(localPath(path_), toGbk(section), toGbk(key)));
}

void SettingsFile::writeBytes(const QString& section, const QString& key, const std::string& value) const {
    profile::write(localPath(path_), toGbk(section), toGbk(key), carrier::encode(value));
}

void SettingsFile::makeReadOnly() const { attributes::makeReadOnly(localPath(path_)); }
void SettingsFile::makeWritable() const { attributes::makeWritable(localPath(path_)); }
bool SettingsFile::isReadOnly() const { return attributes::isReadOnly(localPath(path_)); }

}  // namespace penvox
