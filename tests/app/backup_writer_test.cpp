// The backup writer: the newest text of each file reaches the disk, flush
// waits for it, and nothing waiting is lost when the writer stops.
#include "app/backup_writer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace penvox {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(BackupWriter, NewestTextOfEachFileIsWritten) {
    QTemporaryDir dir;
    const QString a = dir.path() + QStringLiteral("/a.txt");
    const QString b = dir.path() + QStringLiteral("/b.txt");
    BackupWriter writer;
    for (int i = 0; i <= 500; ++i) writer.write(a.toStdString(), "a" + std::to_string(i));
    writer.write(b.toStdString(), "b");
    writer.flush();
    EXPECT_EQ(contents(a), QByteArray("a500"));
    EXPECT_EQ(contents(b), QByteArray("b"));
}

TEST(BackupWriter, StoppingWritesWhatIsStillWaiting) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/last.txt");
    {
        BackupWriter writer;
        for (int i = 0; i < 50; ++i) writer.write(path.toStdString(), std::string(100000, static_cast<char>('a' + i % 26)));
        writer.write(path.toStdString(), "the last words");
    }
    EXPECT_EQ(contents(path), QByteArray("the last words"));
}

TEST(BackupWriter, AFailedCopyDoesNotStopTheOthers) {
    QTemporaryDir dir;
    BackupWriter writer;
    writer.write((dir.path() + QStringLiteral("/missing/x.txt")).toStdString(), "x");
    writer.write((dir.path() + QStringLiteral("/y.txt")).toStdString(), "y");
    writer.flush();
    EXPECT_EQ(contents(dir.path() + QStringLiteral("/y.txt")), QByteArray("y"));
}

}  // namespace
}  // namespace penvox
