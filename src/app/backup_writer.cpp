#include "app/backup_writer.h"

#include "core/atomic_file.h"

namespace penvox {

BackupWriter::BackupWriter() : thread_([this] { run(); }) {}

BackupWriter::~BackupWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void BackupWriter::write(std::string path, std::string bytes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_[std::move(path)] = std::move(bytes);
    }
    wake_.notify_one();
}

void BackupWriter::flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return waiting_.empty() && !busy_; });
}

void BackupWriter::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (waiting_.empty()) break;  // stopping, and nothing left to write
        auto next = waiting_.extract(waiting_.begin());
        busy_ = true;
        lock.unlock();
        std::string reason;
        files::writeAtomically(next.key(), next.mapped(), &reason);  // a failed copy is not reported
        lock.lock();
        busy_ = false;
        if (waiting_.empty()) idle_.notify_all();
    }
    idle_.notify_all();
}

}  // namespace penvox
