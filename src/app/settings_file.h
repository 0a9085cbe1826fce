#pragma once
// One settings file, read and written a key at a time (nothing is cached, so
// every read sees what any other writer left). Names and values are the
// program's texts; the file holds them as GBK.
#include <QString>
#include <string>

namespace penvox {

class SettingsFile {
public:
    explicit SettingsFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }

    QString text(const QString& section, const QString& key) const;
    // Decimal text to integer; absent or not a number reads as 0.
    long long integer(const QString& section, const QString& key) const;
    // True only when the value is exactly "真".
    bool isTrue(const QString& section, const QString& key) const;
    // True unless the value is exactly "假".
    bool isNotFalse(const QString& section, const QString& key) const;

    // Failures are ignored, as callers expect.
    void write(const QString& section, const QString& key, const QString& value) const;
    void writeFlag(const QString& section, const QString& key, bool value) const;  // "真" / "假"
    void writeInteger(const QString& section, const QString& key, long long value) const;

    // Byte values (encrypted numbers), carried so that they read back exactly.
    std::string bytes(const QString& section, const QString& key) const;
    void writeBytes(const QString& section, const QString& key, const std::string& value) const;

    // Read-only while the program is not running; writable while it runs.
    void makeReadOnly() const;
    void makeWritable() const;
    bool isReadOnly() const;

private:
    QString path_;
};

}  // namespace penvox
